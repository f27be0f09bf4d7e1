#pragma once
#include <optional>

#include "app/Launcher.h"

// Runs the start as the main function of the service that the service
// manager started this process as: the launcher connects as the process's
// service dispatcher, reports the service's status, takes the start
// parameters and answers stop, shutdown and pre-shutdown requests. Returns
// the start's exit code; nothing when the process was not started by the
// service manager (started by hand, from a script), which then starts as any
// application. `configuration` is the outcome of reading it.
std::optional<int> runAsService(Launcher& launcher, const Expected<void>& configuration, const Trace& trace);
