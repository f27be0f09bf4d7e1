#include "util/SystemLibrary_win.h"

#include "util/GrowBuffer.h"
#include "util/PathText.h"

HMODULE loadSystemLibrary(const wchar_t* name)
{
    return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

namespace {

std::wstring fullPathOf(const std::wstring& path)
{
    return readWithGrowingBuffer(kMaxPath, kMaxLongPath + 1, [&](wchar_t* buffer, std::size_t size) {
        const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(size), buffer, nullptr);
        // Too small a buffer gives the size needed, NUL included.
        return GrowAttempt{length < size ? length : 0, length >= size};
    });
}

} // namespace

HMODULE loadLibraryWithImportsFrom(const std::wstring& path, const std::wstring& importFolder)
{
    const std::wstring full = fullPathOf(path);
    const std::wstring& library = full.empty() ? path : full;
    // Systems without the search flags' update lack these functions: the
    // library's own folder is then searched first, then the usual places.
    DLL_DIRECTORY_COOKIE(WINAPI * addDirectory)(PCWSTR) = nullptr;
    BOOL(WINAPI * removeDirectory)(DLL_DIRECTORY_COOKIE) = nullptr;
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (!findFunction(kernel, "AddDllDirectory", addDirectory) ||
        !findFunction(kernel, "RemoveDllDirectory", removeDirectory)) {
        return ::LoadLibraryExW(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    // The folder is searched for this load only; what the library imports is
    // loaded by then, and later loads keep the process's usual search.
    const DLL_DIRECTORY_COOKIE cookie = importFolder.empty() ? nullptr : addDirectory(fullPathOf(importFolder).c_str());
    const DWORD flags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32 |
                        (cookie != nullptr ? LOAD_LIBRARY_SEARCH_USER_DIRS : 0);
    const HMODULE loaded = ::LoadLibraryExW(library.c_str(), nullptr, flags);
    const DWORD error = ::GetLastError();
    if (cookie != nullptr) {
        removeDirectory(cookie);
    }
    ::SetLastError(error);
    return loaded;
}
