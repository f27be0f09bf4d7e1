#pragma once

class Launcher;

// Decides the VM thread's stack size (the "-Xss" value, else the runtime's
// default javaStackSize, else the executable's default), runs the VM thread
// and returns its result: 0 when the VM was created and the main class ran,
// 1 otherwise. When the thread cannot be created the same work runs on the
// calling thread.
int startVmThread(Launcher& launcher);

// Creates the VM with the assembled options and the "abort" and "exit" hooks,
// then redirects the standard streams. On failure shows the JNI message and
// returns false. Runs on the VM thread.
bool createJavaVm(Launcher& launcher);
