#pragma once
#include "util/Trace.h"

// The trace that the environment variable LAUNCHER_TRACE asks for: a file
// name, or "1" for %TEMP%\<executable base name>-launch.log. Lines are
// appended in UTF-8, each with the milliseconds since the process started,
// and written through at once, from any thread. Off when the variable is
// unset or empty; a file that cannot be opened is ignored (off).
Trace traceFromEnvironment();
