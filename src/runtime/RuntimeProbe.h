#pragma once
#include <functional>
#include <string>

#include "config/JvmType.h"
#include "config/VersionNumber.h"

// True when a file or folder exists at exactly this path.
using PathExists = std::function<bool(const std::wstring&)>;

// One registered runtime that passed the library probe.
struct RuntimeCandidate {
    VersionNumber version;
    std::wstring homeFolder;  // ends with "\"
    bool hasServerVm = false;
    bool preferred = false;
};

// "<version> at <folder>[, server VM][, preferred]", for the trace.
std::wstring describeCandidate(const RuntimeCandidate& candidate);

// The JVM library of a runtime folder (ending with "\", or empty to probe the
// bare sub-paths against the current directory) for the JVM type: the first
// existing of the type's sub-paths. Sets `hasServerVm` when a library is
// found (true for bin\server\jvm.dll) and leaves it alone otherwise; returns
// an empty text when nothing is found.
std::wstring findJvmLibrary(const std::wstring& homeFolder, JvmType jvmType, bool& hasServerVm,
                            const PathExists& exists);

// True when folder + "bin\java.dll" exists: the folder is a Java runtime.
bool hasJavaRuntimeMarker(const std::wstring& folder, const PathExists& exists);
