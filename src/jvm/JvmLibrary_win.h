#pragma once
#include <string>

#include "jvm/VmLaunch_win.h"
#include "util/Failure.h"

// Loads the JVM library at `path` (through its short form when the path does
// not convert to the ANSI code page) and resolves its entry points; on
// failure, why not. The library stays loaded for the life of the process.
Expected<JvmEntryPoints> loadJvmLibrary(const std::wstring& path, const Trace& trace);
