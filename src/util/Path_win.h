#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "util/Failure.h"

// The full path of the running executable; paths longer than 260 characters
// are read whole. When it cannot be obtained, the failure "failed to get the
// module path" with the platform's error code.
Expected<std::wstring> readExecutablePath();

// The full path of the executable `process` runs; empty when it cannot be
// read.
std::wstring imagePathOf(HANDLE process);

// Makes sure that the folders leading to the file at `path` exist (the file
// itself and the root are never created). Returns 0 or the last platform
// error met. On a local path a failure stops the walk and removes the folder
// created just before, when it is empty; on a network path the walk goes on.
DWORD createFolderPath(const std::wstring& path);

// Removes an empty folder; long paths get the "\\?\" prefix.
bool removeFolder(const std::wstring& path);

// The short (8.3) form of a path: of its longest part that exists, followed
// by the rest as written; empty when no part of it exists.
std::wstring shortPathOf(const std::wstring& path);

// Appends `bytes` to the file at `path`, creating it when missing; nothing
// happens for an empty path or when the file cannot be opened.
void appendToFile(const std::wstring& path, const std::string& bytes);

// Up to `limit` first bytes of the file at `path`; nothing when it cannot be
// opened or read.
std::optional<std::string> readFileStart(const std::wstring& path, DWORD limit);

// True when the platform classes the path as a network (UNC) path.
bool isUncPath(const std::wstring& path);
