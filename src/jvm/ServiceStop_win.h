#pragma once
#include <string>

#include "jni/jni.h"

// The calls a service's stop makes into its running VM. Each attaches the
// calling thread to `vm` (as a thread of the application, which the VM's
// destruction waits for) and detaches it again when the call returns; a VM
// that takes no more threads makes each a no-op.

// Calls the static method `method` of class `slashClass`, taking no
// arguments, else an empty String[]. False when neither can be found (the
// VM prints why); an exception it throws is printed and still counts as
// called.
bool callStopMethod(JavaVM* vm, const std::wstring& slashClass, const std::wstring& method);

// Runtime.getRuntime().exit(code), the same as System.exit(code): the
// application's shutdown hooks run, then the runtime ends the process. Never
// returns while the VM can be reached (a second exit waits for the first).
void callSystemExit(JavaVM* vm, int code);

// Runtime.getRuntime().halt(code): ends the process without running the
// shutdown hooks.
void callRuntimeHalt(JavaVM* vm, int code);
