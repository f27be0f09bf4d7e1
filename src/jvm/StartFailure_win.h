#pragma once
#include <string>

#include "jvm/VmLaunch_win.h"

// Tells why a start failed before main began, in the runtime's own words:
// what it wrote to standard error since the launcher began to keep it. The
// box shows `designed` (a text of the launcher's message table) followed by
// those words; without a designed text it says that the application could not
// be started, names the main class and the runtime folder, then the words (a
// service shows no such box). The words also go to the error file, when the
// application has one.
void reportStartFailure(const VmLaunch& launch, const VmState& vm, const std::wstring& designed);
