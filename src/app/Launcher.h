#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "util/UniqueHandle_win.h"

struct JavaVM_;
struct JNIEnv_;

// The one object per process that holds all state of a start. The entry point
// owns it for the whole run; its destruction is the shutdown sequence, which
// tolerates any earlier failure.
class Launcher {
public:
    Launcher() = default;
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // The initialisation sequence; false means the run must not happen (the
    // failing step has told the user when it tells anything).
    bool initialize();

    // Takes one of the three roads and returns the process exit code.
    int run();

    // State of the start. Fields read by other threads are written before
    // those threads start.
    LauncherSettings settings;
    std::vector<std::wstring> arguments;
    std::wstring jvmLibraryPath;
    bool relaunchThroughPair = false;
    bool isPrimaryInstance = false;

    HANDLE splashThread = nullptr;
    DWORD splashThreadId = 0;
    HWND splashWindowHandle = nullptr;

    JavaVM_* javaVm = nullptr;
    JNIEnv_* jniEnv = nullptr;
    unsigned long long vmThreadStackSize = 0;
    UniqueHandle readyEvent;

private:
    bool readSettings();
    bool setupSingleInstance();
    bool selectRuntime();
    int relaunchThroughPairProduct();
    int waitForPrimaryAnswer();
    int normalLaunch();

    void closeSplashWindow();
    void destroyVm();
    void stopSingleInstance();
    void closeNativeSplash();
};
