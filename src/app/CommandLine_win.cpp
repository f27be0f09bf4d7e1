#include "app/CommandLine_win.h"

#include "ui/ErrorReporting_win.h"
#include "util/CommandLine.h"

std::vector<std::wstring> splitProcessCommandLine()
{
    const wchar_t* commandLine = ::GetCommandLineW();
    return argumentsFromCommandLine(commandLine != nullptr ? std::wstring(commandLine) : std::wstring());
}

void applyWorkingDirectory(HWND owner)
{
    std::wstring path;
    if (!executablePath(owner, path)) {
        return;
    }
    if (const std::optional<std::wstring> folder = workingDirectoryFor(path)) {
        ::SetCurrentDirectoryW(folder->c_str());
    }
}
