#pragma once
#include <windows.h>

#include <string>

#include "util/UniqueHandle_win.h"

// A directory search and its current match. Names of 260 characters or more
// are searched with the long-path prefix. The search is closed when the object
// goes.
class FileFinder {
public:
    // Starts a search for a file name or pattern (null means "*.*"). False when
    // nothing matches or the name is longer than 32766 characters.
    bool findFirst(const wchar_t* name);
    // The next match of the search; false at the end.
    bool findNext();
    void close() { handle_.reset(); }

    const WIN32_FIND_DATAW& data() const { return data_; }
    std::wstring fileName() const { return data_.cFileName; }

private:
    UniqueFindHandle handle_;
    WIN32_FIND_DATAW data_{};
};

// True when a file or folder exists at exactly this path.
bool pathExists(const std::wstring& path);
