#pragma once
#include <string>

#include "util/PathText.h"
#include "util/Path_win.h"

// The full path of the running test program; empty when it cannot be read.
inline std::wstring selfPath()
{
    const Expected<std::wstring> path = readExecutablePath();
    return path ? *path : std::wstring();
}

// The folder of the running test program, with its final backslash.
inline std::wstring selfFolder()
{
    return folderWithSeparator(selfPath());
}
