#pragma once
#include "jvm/VmLaunch_win.h"

// Decides the VM thread's stack size (the "-Xss" value, else the runtime's
// default javaStackSize, else the executable's default) and stores it in
// `launch`, runs the VM thread and returns its result: 0 when the VM was
// created and the main class ran, 1 otherwise (also when the thread cannot
// be created, which is reported). The VM created is left
// in `vm` (for a service it is destroyed again before the thread ends).
int startVmThread(VmLaunch& launch, VmState& vm);

// Creates the VM with the launch's options and the "abort" and "exit" hooks,
// then redirects the standard streams. On failure reports the JNI failure
// and returns false. Runs on the VM thread.
bool createJavaVm(VmLaunch& launch, VmState& vm);

// Destroys the VM when there is one; this waits for the application's last
// non-daemon thread.
void destroyVm(VmState& vm);

// Once the application has ended (main began and the VM is gone or going):
// starts what follows it, once per process (the class-data archive writer).
void afterApplication(VmLaunch& launch, VmState& vm);
