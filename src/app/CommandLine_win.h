#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The application arguments from the process command line (its first token,
// the program's own path, dropped).
std::vector<std::wstring> splitProcessCommandLine();

// Makes the executable's folder the current directory; failures are silent
// (a failing module path shows its message, owned by `owner`).
void applyWorkingDirectory(HWND owner);
