// Shared declarations of the HotSpot bridge: a winelib jvm.dll that Windows
// programs load under Wine and that forwards the JNI invocation interface to a
// Linux JDK's libjvm.so.
//
// Windows code calls JNI with the Microsoft x64 convention; libjvm.so expects
// the System V convention. The bridge hands Windows code wrapper objects whose
// function tables hold ms_abi thunks (generated from jni.h by
// generate_thunks.py) that forward to the real tables.
//
// No thread-local storage anywhere in the bridge: GCC 12 clobbers a register
// around __tls_get_addr inside ms_abi functions. Per-thread state (the JNIEnv
// wrapper) is found through a global table keyed by the real pointer.
#pragma once

#include <jni.h>

#include <vector>

#define MSABI __attribute__((ms_abi))

namespace hsbridge {

// What Windows code receives as JNIEnv*: its first member is the function
// table, as JNI requires.
struct WinEnv {
    const void* const* functions;
    JNIEnv* real;
};

// What Windows code receives as JavaVM*.
struct WinVM {
    const void* const* functions;
    JavaVM* real;
};

// The generated function tables (JniThunks.cpp).
extern const void* const kEnvFunctions[];
extern const void* const kVmFunctions[];

// The wrapper of a real JNIEnv, created on first use and kept for the life of
// the process (HotSpot may hand the same address to a later thread, which then
// shares the wrapper harmlessly). Null stays null.
WinEnv* wrapEnv(JNIEnv* real);

// The one wrapper of the VM libjvm created (there is at most one per process).
WinVM* wrapVm(JavaVM* real);

// How the decoder finds the class of a method whose signature it has not seen
// (the method ID came from somewhere other than Get[Static]MethodID).
enum class CallTarget { StaticClass, InstanceClass, InstanceObject };

using ArgumentArray = std::vector<jvalue>;

// Reads the arguments of a Call*Method/NewObject call from a Windows va_list
// (every argument in its own 8-byte slot, float promoted to double, small
// integers to int) into jvalues, using the signature of methodID. Returns
// false, with a Java exception pending, when the signature cannot be found.
bool decodeArguments(JNIEnv* env, jobject target, jmethodID method, CallTarget how,
                     __builtin_ms_va_list args, ArgumentArray& out);

// Remembers the parameter signature of a method ID (from GetMethodID or
// GetStaticMethodID) for decodeArguments.
void recordMethodSignature(jmethodID method, const char* signature);

// The launcher's "exit" and "abort" hooks (JavaVMOption extraInfo), as
// Windows functions.
using WindowsExitHook = void(MSABI*)(jint code);
using WindowsAbortHook = void(MSABI*)();

// Prepares the bridge's own exit and abort hooks (unixExitHook,
// unixAbortHook) to call the given Windows hooks (either may be null) and end
// the process with ExitProcess. Call on a Wine thread before the VM starts.
bool prepareProcessExit(WindowsExitHook exitHook, WindowsAbortHook abortHook);
void unixExitHook(jint code);
void unixAbortHook();

// Points the Unix descriptors 0, 1 and 2 at the files or pipes behind the
// Windows standard handles, where those are files or pipes (see
// StandardStreams.cpp).
void adoptWindowsStandardHandles();

// Passes on Java output still on its way to the Windows standard handles, and
// sends later Unix output to /dev/null. Called when the VM is gone or the
// process ends.
void flushStandardStreams();

// Waits until what Java wrote to its standard streams has reached the
// Windows handles (at most a second).
void drainStandardStreams();

}  // namespace hsbridge
