#include "util/FileFinder_win.h"

#include "util/GrowBuffer.h"
#include "util/Path_win.h"
#include "util/PathText.h"

bool FileFinder::findFirst(const wchar_t* name)
{
    handle_.reset();
    data_ = WIN32_FIND_DATAW{};
    folder_.clear();

    const std::wstring pattern = name ? name : L"*.*";
    if (pattern.size() > kMaxLongPath - 1) {
        return false;
    }
    const std::wstring searchName = longPathSearchName(pattern, isUncPath(pattern));
    handle_.reset(::FindFirstFileW(searchName.c_str(), &data_));
    if (!handle_) {
        return false;
    }

    bool failed = false;
    const std::wstring fullPath = readWithGrowingBuffer(kMaxPath, kMaxLongPath + 1, [&](wchar_t* buffer, std::size_t size) {
        const DWORD length = ::GetFullPathNameW(searchName.c_str(), static_cast<DWORD>(size), buffer, nullptr);
        if (length == 0) {
            failed = true;
            return GrowAttempt{0, false};
        }
        // When the buffer is too small the answer is the size needed.
        if (length >= size) {
            return GrowAttempt{0, true};
        }
        return GrowAttempt{length, false};
    });
    if (failed || fullPath.empty()) {
        handle_.reset();
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    const std::size_t cut = fullPath.find_last_of(L"\\/");
    folder_ = cut == std::wstring::npos ? fullPath : fullPath.substr(0, cut);
    return true;
}

bool FileFinder::findNext()
{
    if (!handle_) {
        return false;
    }
    return ::FindNextFileW(handle_.get(), &data_) != FALSE;
}

bool pathExists(const std::wstring& path)
{
    // A search for the exact name, without the full-path work of FileFinder:
    // runtime probing asks this for every candidate library.
    if (path.size() > kMaxLongPath - 1) {
        return false;
    }
    return ::GetFileAttributesW(longPathSearchName(path, isUncPath(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
}
