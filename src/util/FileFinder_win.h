#pragma once
#include <windows.h>

#include <string>

#include "util/UniqueHandle_win.h"

// A directory search: the current match and the full path of the folder the
// searched name lies in. Names of 260 characters or more are searched with the
// long-path prefix. The search is closed when the object goes.
class FileFinder {
public:
    // Starts a search for a file name or pattern (null means "*.*"). False when
    // nothing matches, the name is longer than 32766 characters, or its full
    // path cannot be formed (error ERROR_INVALID_NAME).
    bool findFirst(const wchar_t* name);
    // The next match of the search; false at the end.
    bool findNext();
    void close() { handle_.reset(); }

    const WIN32_FIND_DATAW& data() const { return data_; }
    std::wstring fileName() const { return data_.cFileName; }
    // Full path of the searched folder, without a final separator.
    const std::wstring& folder() const { return folder_; }

private:
    UniqueFindHandle handle_;
    WIN32_FIND_DATAW data_{};
    std::wstring folder_;
};

// True when a file or folder exists at exactly this path.
bool pathExists(const std::wstring& path);
