#include <windows.h>

#include <cstdlib>

#include "app/Launcher.h"

// A LaunchError that nothing catches ends the process abnormally and without a
// message. The C++ library's default handler for that would first print the
// exception's demangled type to a console this windowed program does not
// have, and it brings a whole name demangler (some 45 KB) into the executable;
// this replacement of the library's handler only ends the process.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

// The process entry point: it only turns the outcome of the start into the
// exit code. It shows nothing itself and catches nothing.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int exitCode = -1;
    {
        Launcher launcher;
        // Conversions between wide and narrow text on this thread use the
        // system's default ANSI code page from here on.
        ::SetThreadLocale(::GetSystemDefaultLCID());
        // Makes the main thread own a message queue before anything can post
        // to it.
        ::DefWindowProcW(nullptr, 0, 0, 0);
        if (launcher.initialize()) {
            exitCode = launcher.run();
        }
        exitCode = launcher.shutdown(exitCode);
    }
    return exitCode;
}
