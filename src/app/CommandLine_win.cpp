#include "app/CommandLine_win.h"

#include <windows.h>

#include "util/CommandLine.h"

std::vector<std::wstring> splitProcessCommandLine()
{
    const wchar_t* commandLine = ::GetCommandLineW();
    return argumentsFromCommandLine(commandLine != nullptr ? std::wstring(commandLine) : std::wstring());
}

void applyWorkingDirectory(const std::wstring& executablePath)
{
    if (const std::optional<std::wstring> folder = workingDirectoryFor(executablePath)) {
        ::SetCurrentDirectoryW(folder->c_str());
    }
}
