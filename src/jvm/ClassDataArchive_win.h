#pragma once
#include <optional>
#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "config/VersionNumber.h"
#include "util/Trace.h"

// The VM options (thread's ANSI code page) that use or create the per-user
// class-data archive of the runtime at `jvmLibraryPath` and the class path
// option `classPathOption`; `version` is the runtime's version when the
// selection knew it, else the runtime's release file tells. Empty when the
// key is off, the version is unknown or below 13, or the archive folder
// cannot be had or written: archive problems never stop a start, they are
// only traced. Before deciding, finished temporary archives of earlier
// starts are put in place when complete and removed otherwise.
std::vector<std::string> classDataArchiveOptions(const LauncherSettings& settings, const std::wstring& jvmLibraryPath,
                                                 std::optional<VersionNumber> version,
                                                 const std::string& classPathOption, const Trace& trace);
