#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ConsoleReporter_win.h"
#include "config/LauncherSettings.h"
#include "config/LayeredIniFile.h"
#include "config/SettingsReader.h"
#include "instance/SingleInstance_win.h"
#include "jvm/ErrorCapture_win.h"
#include "jvm/VmLaunch_win.h"
#include "ui/SplashScreen_win.h"
#include "ui/WindowedReporter_win.h"
#include "util/Trace.h"

// The one object per process that holds all state of a start. The entry point
// owns it for the whole run; its destruction is the shutdown sequence, which
// tolerates any earlier failure. Every step gets what it needs as parameters
// and hands its results back; the steps on other threads (the VM thread, the
// single-instance workers) read state that was written before they started.
class Launcher {
public:
    // `trace` receives a line per decision (off unless asked for). The console
    // form tells everything on standard error and leaves the standard
    // handles to the runtime; the windowed form shows windows.
    Launcher(Trace trace, bool consoleForm);
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Reads the command line, the executable's path and the settings. A
    // failure is returned, not told: the form of the start is not known yet.
    Expected<void> readConfiguration();

    // The settings name a service application ("Application Type").
    bool isService() const { return settings_.isService; }

    // A service started by the service manager: everything the start tells
    // goes through `reporter`, and the start parameters follow the command
    // line's arguments.
    void serveThrough(Reporter& reporter, unsigned count, wchar_t** startParameters);

    // The service's own keys, and the error file as configured (environment
    // variables expanded; empty when there is none or no configuration).
    ServiceSettings serviceSettings() const;
    std::wstring configuredErrorFile() const;

    // The whole start after readConfiguration, whose outcome it takes:
    // initialisation, the run, the shutdown. Returns the exit code.
    int start(const Expected<void>& configuration);

    // The initialisation sequence; false means the run must not happen (the
    // user has been told why, when there is anything to tell).
    bool initialize(const Expected<void>& configuration);

    // Takes one of the three roads and returns the process exit code.
    int run();

    // The shutdown sequence (also run by the destructor when not called):
    // returns the process exit code, which is `runResult` except that a run
    // whose main ended with an uncaught exception nobody handled gives 1 once
    // the VM has been destroyed normally.
    int shutdown(int runResult);

private:
    bool selectRuntime();
    // Tells the user why the start ends; false, for the caller to return.
    bool fail(const Failure& failure);
    int relaunchThroughPairProduct();
    int normalLaunch();
    // The options of the configuration for the VM; false when the start
    // ends (the user has been told why).
    bool addConfiguredOptions();
    bool startSplash();
    void closeSplashWindow();
    void closeNativeSplash();

    Trace trace_;
    // Owner of every error box: the launcher-drawn splash window while it is
    // up, else none. The splash thread publishes it; any thread that shows a
    // box reads it.
    std::atomic<HWND> splashWindowHandle_{nullptr};
    // Everything the user sees of the start goes through it.
    bool consoleForm_;
    WindowedReporter windowedReporter_;
    ConsoleReporter consoleReporter_;
    Reporter* reporter_;
    std::wstring executablePath_;          // the running launcher's path
    std::unique_ptr<SplashWindow> splashWindow_;
    NativeSplashClose nativeSplashClose_;
    std::vector<std::wstring> arguments_;
    LauncherSettings settings_;            // written once by initialize, then read only
    // The configuration (main file over the embedded text), opened once; later
    // steps read their keys from it.
    std::unique_ptr<LayeredIniFile> config_;
    InstanceCoordination instance_;
    std::wstring jvmLibraryPath_;
    std::optional<VersionNumber> runtimeVersion_;  // when the selection knew it
    bool relaunchThroughPair_ = false;
    ErrorCapture errorCapture_;
    VmLaunch vmLaunch_;
    VmState vm_;
    bool shutDown_ = false;
};
