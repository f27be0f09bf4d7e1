#include <windows.h>

#include "app/Launcher.h"
#include "app/Service_win.h"
#include "util/ImageSubsystem_win.h"
#include "util/PeHeaders.h"
#include "util/Trace_win.h"
#include "util/AsciiText.h"

// The process entry point: it only turns the outcome of the start into the
// exit code. It shows nothing itself and catches nothing.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The folder the user starts from is no place to load libraries from.
    ::SetDllDirectoryW(L"");
    int exitCode = -1;
    const Trace trace = traceFromEnvironment();
    {
        // A copy switched to the console subsystem is the console form too.
        Launcher launcher(trace, runningImageSubsystem() == kSubsystemWindowsConsole);
        // Conversions between wide and narrow text on this thread use the
        // system's default ANSI code page from here on.
        ::SetThreadLocale(::GetSystemDefaultLCID());
        // Makes the main thread own a message queue before anything can post
        // to it.
        ::DefWindowProcW(nullptr, 0, 0, 0);
        const Expected<void> configuration = launcher.readConfiguration();
        // A service started by the service manager runs its start on the
        // service's own thread; started any other way it starts as here.
        const std::optional<int> served =
            launcher.isService() ? runAsService(launcher, configuration, trace) : std::nullopt;
        exitCode = served ? *served : launcher.start(configuration);
    }
    trace.line({L"exit code ", signedDecimalText(exitCode)});
    return exitCode;
}
