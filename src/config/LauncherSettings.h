#pragma once
#include <string>
#include <vector>

#include "runtime/JvmType.h"
#include "runtime/RuntimeSearchFilter.h"
#include "runtime/VersionNumber.h"

// The parsed configuration of one start; read-only after initialisation.
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
    bool singleInstance = false;
    std::wstring outputFile;
    std::wstring errorFile;
    bool outputAppend = false;
    bool errorAppend = false;
    std::wstring splashImage;
    std::wstring splashShadow;
};
