#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The application arguments from the process command line (its first token,
// the program's own path, dropped).
std::vector<std::wstring> splitProcessCommandLine();

// Makes the executable's folder the current directory; failures are silent
// (a failing module path shows its message, owned by `owner`).
void applyWorkingDirectory(HWND owner);

// %NAME% references expanded by the platform; nothing when the expansion fails.
std::optional<std::wstring> expandEnvironmentStrings(const std::wstring& text);

// Appends the non-empty tokens of the configured command ("Cmd"), with its
// environment references expanded, to `arguments`.
void appendConfiguredCommand(const std::wstring& command, std::vector<std::wstring>& arguments);
