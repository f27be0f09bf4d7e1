#include "util/FileFinder_win.h"

#include "util/Path_win.h"
#include "util/PathText.h"

bool FileFinder::findFirst(const wchar_t* name)
{
    handle_.reset();
    data_ = WIN32_FIND_DATAW{};

    const std::wstring pattern = name ? name : L"*.*";
    if (pattern.size() > kMaxLongPath - 1) {
        return false;
    }
    const std::wstring searchName = longPathSearchName(pattern, isUncPath(pattern));
    handle_.reset(::FindFirstFileW(searchName.c_str(), &data_));
    return static_cast<bool>(handle_);
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
