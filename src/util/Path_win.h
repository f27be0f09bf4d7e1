#pragma once
#include <windows.h>

#include <string>

// Reads the full path of the running executable into `path`; paths longer
// than 260 characters are read whole. False, with the platform's error code
// in `error` and `path` unchanged, when the path cannot be obtained.
bool readExecutablePath(std::wstring& path, DWORD& error);

// Makes sure that the folders leading to the file at `path` exist (the file
// itself and the root are never created). Returns 0 or the last platform
// error met. On a local path a failure stops the walk and removes the folder
// created just before, when it is empty; on a network path the walk goes on.
DWORD createFolderPath(const std::wstring& path);

// Removes an empty folder; long paths get the "\\?\" prefix.
bool removeFolder(const std::wstring& path);

// True when the platform classes the path as a network (UNC) path.
bool isUncPath(const std::wstring& path);
