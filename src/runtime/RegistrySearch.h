#pragma once
#include <string>
#include <vector>

#include "config/JvmType.h"
#include "config/RuntimeSearchFilter.h"
#include "config/VersionNumber.h"
#include "runtime/RegistryReader.h"
#include "runtime/RuntimeProbe.h"
#include "util/FixedList.h"
#include "util/Trace.h"

// The kind of runtime a registry key lists.
enum class RuntimeKind {
    Jdk,
    Jre,
    NamedInSubkey,  // a JRE when the subkey's name holds "jre" (any case), else a JDK
};

// The vendor family whose installers write a key ("VM Provider" decides which
// families are searched and which count as preferred).
enum class VendorFamily {
    JavaSoft,
    JRockit,
    Ibm,
    OpenJdk,  // today's OpenJDK builds: searched with "Search Vendor Runtimes" wherever standard
              // runtimes are admitted, never preferred
};

// One registry key whose subkeys name installed runtime versions.
struct RegistryRow {
    RegistryRoot root;
    const wchar_t* key;          // ends with "\"; the subkey name follows it
    const wchar_t* tail;         // below the subkey, where the values lie: "" or "\hotspot\MSI"
    const wchar_t* homeValue;    // the value that holds the runtime's folder
    RuntimeKind kind;
    VendorFamily vendor;
    const wchar_t* homeSuffix;   // appended to the folder: "jre\" where a JDK keeps its runtime there
    bool favorServerProbedAsClientFirst;  // the key's runtimes are probed client first under "favor_server"
    // Values that hold the major, minor and third version components as
    // numbers (empty names: none); the subkey's name gives the version when
    // the first is missing.
    const wchar_t* versionValues[3];
};

// The rows searched, in order: the keys of the classic installers, then
// those of today's OpenJDK installers (each under HKEY_LOCAL_MACHINE and, for
// per-user installs, under HKEY_CURRENT_USER), which only "Search Vendor
// Runtimes" turns on.
FixedList<RegistryRow> registryRows();

// The runtimes registered in one registry view, row by row in table order and
// within a row in enumeration order: the rows allowed by the filter's kinds
// and vendors, subkeys whose version (the name read as a version, missing
// components 0, a name without digits 0.0.0.0; or the row's version values)
// lies in `range` and whose home value names a folder with a JVM library of
// the JVM type. Every failure drops only the entry concerned. Nothing is
// merged: one folder under two subkeys gives two candidates.
// With `elevated` (the launcher runs elevated) the HKEY_CURRENT_USER rows are
// left out: any process of the user can write them.
// Each key searched and each subkey accepted or left out is traced, with why.
std::vector<RuntimeCandidate> searchRegistry(const RuntimeSearchFilter& filter, const VersionRange& range,
                                             JvmType jvmType, RegistryView view, RegistryReader& registry,
                                             const PathExists& exists, const Trace& trace = Trace(),
                                             bool elevated = false);
