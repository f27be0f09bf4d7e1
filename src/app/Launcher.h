#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "jni/jni.h"
#include "util/UniqueHandle_win.h"

// The entry points resolved from the loaded JVM library.
struct JvmEntryPoints {
    CreateJavaVmFunction createJavaVm = nullptr;
    GetDefaultJavaVmInitArgsFunction getDefaultJavaVmInitArgs = nullptr;
    FindClassFromBootLoaderFunction findClassFromBootLoader = nullptr;  // optional
};

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
    UniqueHandle sharedMapping;             // the single-instance block
    unsigned char* sharedBlock = nullptr;   // its view, kSharedBlockSize bytes
    HANDLE listenerThread = nullptr;        // primary; kept open on purpose until the process ends
    UniqueHandle requestMutex;              // secondary: serialises requests
    bool ownsRequestMutex = false;
    HANDLE primaryProcess = nullptr;        // secondary; kept open on purpose until the process ends

    HWND splashWindowHandle = nullptr;

    JvmEntryPoints jvmEntryPoints;
    JavaVM* javaVm = nullptr;
    JNIEnv* jniEnv = nullptr;              // valid on the VM thread only
    std::vector<std::string> vmOptions;    // in the thread's ANSI code page
    unsigned long long vmThreadStackSize = 0;
    UniqueHandle readyEvent;

    // IBM runtimes admitted by "VM Provider": a thread that ran Java code is
    // then never detached.
    bool ibmRuntimeAdmitted() const
    {
        return settings.searchFilter.ibmAllowed || settings.searchFilter.ibmFavoured;
    }

private:
    bool readSettings();
    bool setupSingleInstance();
    bool selectRuntime();
    int relaunchThroughPairProduct();
    int waitForPrimaryAnswer();
    int normalLaunch();
    bool startSplash();

public:
    void closeSplashWindow();
    void destroyVm();

private:
    void stopSingleInstance();
    void closeNativeSplash();
};
