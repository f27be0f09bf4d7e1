#pragma once
#include <string>

#include "jvm/VmLaunch_win.h"

// Tells why a start failed before main began, in the runtime's own words:
// what it wrote to standard error since the launcher began to keep it. The
// reporter gets `designed` (a failure of the launcher's own) followed by
// those words; without a message of the launcher's own, that the runtime
// refused the start, with the main class, the runtime folder and the words.
// The words also go to the error file, when the application has one.
void reportStartFailure(const VmLaunch& launch, const VmState& vm, const Failure& designed);
