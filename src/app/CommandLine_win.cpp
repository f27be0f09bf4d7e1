#include "app/CommandLine_win.h"

std::vector<std::wstring> splitProcessCommandLine()
{
    return {};
}

void applyWorkingDirectory(HWND)
{
}
