#pragma once
#include "jvm/VmLaunch_win.h"

// Loads the main class (through the runtime's launcher helper when it has
// one, else the VM's own lookup), calls its static main with the arguments and
// waits for it; about an exception from main the reporter asks the user when
// "Failure Check" wants it, else it is noted in `vm.uncaughtException`.
// False, once reported, when the class, its main method or the argument array
// is missing. Runs on the VM thread.
bool invokeMainClass(const VmLaunch& launch, VmState& vm);
