#pragma once
#include <string>
#include <vector>

#include "config/JvmType.h"
#include "config/RuntimeSearchFilter.h"
#include "config/VersionNumber.h"

// The configuration of one start, read once during initialisation and const
// from then on. Keys that later steps read (the class path, the output files,
// "Single Instance", the splash screen) are read by those steps, and what
// they make of them stays with them.
struct LauncherSettings {
    std::wstring productName;
    std::wstring productCode;
    VersionRange versionRange;
    bool isService = false;
    std::vector<std::wstring> preferredVersions;
    std::wstring jrePath;
    JvmType jvmType = JvmType::ClientFirst;
    RuntimeSearchFilter searchFilter;
    std::wstring mainClass;          // slash form: org/example/App
    bool failureCheck = false;
    bool overrideWorkingDir = false;
    std::wstring systemPath;
    std::wstring libraryPath;
    std::wstring pairProduct;
    bool pairReturnCode = false;
    bool useJavaHome = false;        // "Use JAVA_HOME": a source after the registry
    bool classDataSharing = false;   // "Class Data Sharing": a per-user class-data archive
    std::wstring downloadPage;       // the runtime-not-found link; empty: the built-in page
};

// IBM runtimes admitted by "VM Provider": a thread that ran Java code must
// then never be detached from the VM.
inline bool ibmRuntimeAdmitted(const LauncherSettings& settings)
{
    return settings.searchFilter.ibmAllowed || settings.searchFilter.ibmFavoured;
}
