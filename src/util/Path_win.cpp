#include "util/Path_win.h"

#include "util/GrowBuffer.h"
#include "util/MessageIds.h"
#include "util/OnceInit_win.h"
#include "util/PathText.h"
#include "util/SystemLibrary_win.h"
#include "util/UniqueHandle_win.h"

Expected<std::wstring> readExecutablePath()
{
    bool failed = false;
    DWORD error = ERROR_SUCCESS;
    std::wstring result = readWithGrowingBuffer(kMaxPath, kMaxLongPath + 1, [&](wchar_t* buffer, std::size_t size) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size));
        if (length == 0) {
            failed = true;
            error = ::GetLastError();
            return GrowAttempt{0, false};
        }
        // A cut path fills the whole buffer.
        return GrowAttempt{length, length >= size};
    });
    if (failed) {
        return windowsFailure(IDS_MODULE_PATH_FAILED, error);
    }
    return result;
}

namespace {

std::wstring existingShortPath(const std::wstring& path)
{
    bool failed = false;
    std::wstring result = readWithGrowingBuffer(kMaxPath, kMaxLongPath + 1, [&](wchar_t* buffer, std::size_t size) {
        const DWORD length = ::GetShortPathNameW(path.c_str(), buffer, static_cast<DWORD>(size));
        failed = length == 0;
        // Too small a buffer gives the size needed, NUL included.
        return GrowAttempt{length < size ? length : 0, length >= size};
    });
    return failed ? std::wstring() : result;
}

} // namespace

std::wstring shortPathOf(const std::wstring& path)
{
    // A path that does not exist (yet) keeps its missing tail as written
    // after the short form of the folder that exists.
    std::wstring existing = path;
    while (!existing.empty()) {
        const std::wstring shortForm = existingShortPath(existing);
        if (!shortForm.empty()) {
            return shortForm + path.substr(existing.size());
        }
        const std::size_t separator = existing.find_last_of(L"\\/");
        if (separator == std::wstring::npos || separator == 0) {
            return std::wstring();
        }
        existing.resize(separator);
    }
    return std::wstring();
}

bool isUncPath(const std::wstring& path)
{
    // Only a path that starts with two backslashes can be a network path; the
    // shell's answer is asked for those alone, so that an ordinary start does
    // not load the shell library at all.
    if (!startsWithTwoBackslashes(path)) {
        return false;
    }
    // A local long path ("\\?\C:\...") is no network path; Wine's shell
    // says otherwise, Windows' does not.
    if (path.rfind(L"\\\\?\\", 0) == 0 && path.rfind(L"\\\\?\\UNC\\", 0) != 0) {
        return false;
    }
    struct Shell {
        BOOL(WINAPI* pathIsUnc)(LPCWSTR) = nullptr;
    };
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    const Shell* shell = loadOnce<const Shell>(once, []() -> const Shell* {
        static Shell loaded;
        return findFunction(loadSystemLibrary(L"shlwapi.dll"), "PathIsUNCW", loaded.pathIsUnc) ? &loaded : nullptr;
    });
    if (shell == nullptr) {
        return true;
    }
    return shell->pathIsUnc(path.c_str()) != FALSE;
}

bool removeFolder(const std::wstring& path)
{
    if (path.size() < kMaxPath || path.rfind(L"\\\\?\\", 0) == 0) {
        return ::RemoveDirectoryW(path.c_str()) != FALSE;
    }
    return ::RemoveDirectoryW((L"\\\\?\\" + path).c_str()) != FALSE;
}

DWORD createFolderPath(const std::wstring& path)
{
    const bool uncPath = isUncPath(path);
    const bool absolute = path.size() > 1 && (startsWithTwoBackslashes(path) || path[1] == L':');
    if (absolute) {
        WIN32_FIND_DATAW data;
        ::SetLastError(ERROR_SUCCESS);
        UniqueFindHandle probe(::FindFirstFileW(longPathSearchName(path, uncPath).c_str(), &data));
        if (probe || ::GetLastError() == ERROR_SUCCESS) {
            return ERROR_SUCCESS;
        }
    }

    DWORD lastError = ERROR_SUCCESS;
    const std::vector<std::wstring> levels = folderLevelsToCreate(path, uncPath);
    bool createdPrevious = false;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (::CreateDirectoryW(levels[i].c_str(), nullptr)) {
            createdPrevious = true;
            continue;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS) {
            createdPrevious = false;
            continue;
        }
        lastError = error;
        if (uncPath) {
            continue;
        }
        // Only a folder this call created is taken away again: an empty
        // folder that was there before stays.
        if (i > 0 && createdPrevious) {
            removeFolder(levels[i - 1]);
        }
        break;
    }
    return lastError == ERROR_ALREADY_EXISTS ? ERROR_SUCCESS : lastError;
}

std::wstring imagePathOf(HANDLE process)
{
    // Room for the longest path, so that one call does.
    std::wstring path(kMaxLongPath, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process, 0, path.data(), &length)) {
        length = 0;
    }
    path.resize(length);
    return path;
}

void appendToFile(const std::wstring& path, const std::string& bytes)
{
    if (path.empty() || bytes.empty()) {
        return;
    }
    const UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) {
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

std::optional<std::string> readFileStart(const std::wstring& path, DWORD limit)
{
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes(file ? limit : 0, '\0');
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), bytes.data(), limit, &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}
