#pragma once
#include <string>
#include <vector>

// The application arguments from the process command line (its first token,
// the program's own path, dropped).
std::vector<std::wstring> splitProcessCommandLine();

// Makes the folder of the executable at `executablePath` the current
// directory; failures are silent.
void applyWorkingDirectory(const std::wstring& executablePath);
