// launcher-stamp on Windows: the UTF-16 arguments become UTF-8, and so does
// the console's output code page while the tool runs (restored after, since
// the setting outlives the process).
#include <windows.h>

#include <iostream>

#include "stamp/StampCommand.h"
#include "stamp/StampText.h"
#include "util/ScopeExit.h"

int wmain(int argc, wchar_t** argv)
{
    const UINT codePage = ::GetConsoleOutputCP();
    ::SetConsoleOutputCP(CP_UTF8);
    const ScopeExit restore([codePage] { ::SetConsoleOutputCP(codePage); });
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(utf8FromUtf16(reinterpret_cast<const char16_t*>(argv[i])));
    }
    const int exitCode = runStampCommand(arguments, std::cout, std::cerr);
    std::cout.flush();   // while the console still reads UTF-8
    return exitCode;
}
