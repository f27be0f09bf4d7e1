#pragma once
#include <optional>
#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "config/VersionNumber.h"
#include "util/Trace.h"

// The VM options (thread's ANSI code page) that use or create the per-user
// class-data archive of the runtime at `jvmLibraryPath` and the assembled
// `vmOptions` (the class path option first); `version` is the runtime's
// version when the selection knew it, else the runtime's release file tells.
// Empty when the key is off, the version is unknown or below 13, the options
// decide about sharing themselves, the runtime has no default archive
// (bin\server\classes.jsa beside its JVM library) to build on, or the archive
// folder cannot be had or written: archive problems never stop a start, they
// are only traced. Before deciding, finished temporary archives of earlier
// starts are put in place when complete and removed otherwise.
std::vector<std::string> classDataArchiveOptions(const LauncherSettings& settings, const std::wstring& jvmLibraryPath,
                                                 std::optional<VersionNumber> version,
                                                 const std::vector<std::string>& vmOptions, const Trace& trace);
