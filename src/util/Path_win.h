#pragma once
#include <windows.h>

#include <string>

// Full path of the running executable. Paths longer than 260 characters are
// read whole. On failure the platform failure message ("failed to get the
// module path" with the error code) is shown, owned by `owner`, and the
// result is false.
bool executablePath(HWND owner, std::wstring& path);

// The executable's folder with its final backslash. False (after the message)
// when the path cannot be obtained; a path without a backslash leaves
// `folder` unchanged.
bool executableFolder(HWND owner, std::wstring& folder);

// Makes sure that the folders leading to the file at `path` exist (the file
// itself and the root are never created). Returns 0 or the last platform
// error met. On a local path a failure stops the walk and removes the folder
// created just before, when it is empty; on a network path the walk goes on.
DWORD createFolderPath(const std::wstring& path);

// Removes an empty folder; long paths get the "\\?\" prefix.
bool removeFolder(const std::wstring& path);

// True when the platform classes the path as a network (UNC) path.
bool isUncPath(const std::wstring& path);
