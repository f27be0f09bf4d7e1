#pragma once
#include <optional>
#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "config/VersionNumber.h"
#include "util/Trace.h"

// What a start does about the per-user class-data archive: the VM options
// (thread's ANSI code page) that use the archive or record the classes for
// one, and the archive writer to start once the application has ended.
struct ClassDataArchiveStart {
    std::vector<std::string> options;
    std::wstring writerCommand;  // empty: nothing to start
    std::wstring javaProgram;    // the runtime's java.exe, the writer
};

// The archive's part of the start of the runtime at `jvmLibraryPath` with the
// assembled `vmOptions` (the class path option first); `version` is the
// runtime's version when the selection knew it, else the runtime's release
// file tells. Nothing when the key is off, the version is unknown or below
// 13, the options decide about sharing themselves, the runtime has no
// class-data archive of its own or no java.exe, the class path names a
// folder, or the archive folder cannot be had or written: archive problems
// never stop a start, they are only traced.
// Before deciding, finished archives of earlier starts are put in place, and
// damaged or abandoned files removed.
ClassDataArchiveStart classDataArchiveOptions(const LauncherSettings& settings, const std::wstring& jvmLibraryPath,
                                              std::optional<VersionNumber> version,
                                              const std::vector<std::string>& vmOptions, const Trace& trace);

// Starts the archive writer of `start`, if it has one, in the background.
void startArchiveWriter(const ClassDataArchiveStart& start, const Trace& trace);
