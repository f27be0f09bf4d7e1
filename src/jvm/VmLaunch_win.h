#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "jni/jni.h"
#include "jvm/ClassDataArchive_win.h"
#include "util/Reporter.h"
#include "util/Trace.h"

class ErrorCapture;

// The entry points resolved from the loaded JVM library.
struct JvmEntryPoints {
    CreateJavaVmFunction createJavaVm = nullptr;
    GetDefaultJavaVmInitArgsFunction getDefaultJavaVmInitArgs = nullptr;
    FindClassFromBootLoaderFunction findClassFromBootLoader = nullptr;  // optional
};

// Where System.out and System.err go; an empty name keeps the stream. Names
// may still hold a date-time pattern, filled in when the streams are set.
struct StreamTargets {
    std::wstring outputFile;
    bool outputAppend = false;
    std::wstring errorFile;
    bool errorAppend = false;
};

// Everything the VM thread needs, prepared by the main thread before the
// thread starts and not changed while it runs.
struct VmLaunch {
    JvmEntryPoints entryPoints;
    std::vector<std::string> options;      // in the thread's ANSI code page
    std::uint64_t threadStackSize = 0;     // 0: decided when the thread starts
    StreamTargets streams;
    std::wstring mainClass;                // slash form: org/example/App
    std::vector<std::wstring> arguments;   // for main
    bool isService = false;                // the VM thread destroys the VM
    bool failureCheck = false;             // the user decides about an exception from main
    bool stayAttached = false;             // IBM runtimes: a thread that ran Java never detaches
    HANDLE readyEvent = nullptr;           // signalled just before main; may be null
    // Tells the user why a start failed and asks about an exception from main.
    Reporter* reporter = nullptr;
    // What the runtime writes to standard error until main begins; may be null.
    ErrorCapture* errorCapture = nullptr;
    std::wstring runtimeFolder;            // named when a start fails
    ClassDataArchiveStart archive;         // its writer starts once the application has ended
    Trace trace;
};

// The process's Java VM, null until VM creation on the VM thread succeeds.
// Other threads read `javaVm` only after the ready event is signalled.
struct VmState {
    JavaVM* javaVm = nullptr;
    JNIEnv* jniEnv = nullptr;  // valid on the VM thread only
    // An exception escaped main and no dialog decided about it; written on the
    // VM thread, read once that thread has ended.
    bool uncaughtException = false;
    // Main has begun: from here on, the runtime ending the process is the
    // application's doing. Written on the VM thread, read by the exit hook.
    std::atomic<bool> mainBegan{false};
    std::atomic<bool> applicationEnded{false};  // what follows the application was done
    std::wstring errorFile;    // where System.err goes, its date-time pattern filled in
    std::uint64_t errorFileStart = 0;  // its size once redirected: what follows is this start's
};
