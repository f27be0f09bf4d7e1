#pragma once
#include <functional>
#include <optional>
#include <string>

#include "util/EnvironmentExpansion.h"

// Names of the process environment variables that publish the chosen runtime.
constexpr const wchar_t* kJvmPathVariable = L"ZQ_JVM_PATH";
constexpr const wchar_t* kJvmHomeVariable = L"ZQ_JVM_HOME";
constexpr const wchar_t* kPathVariable = L"Path";

// The folders of a runtime, derived from the path of its JVM library.
struct RuntimeFolders {
    std::wstring home;       // C:\Java\jre for C:\Java\jre\bin\server\jvm.dll
    std::wstring binFolder;  // C:\Java\jre\bin
    std::wstring libFolder;  // C:\Java\jre\lib
};

// Cuts the last two (bin) and three (home) components off `jvmLibraryPath`
// at backslashes; a cut is skipped when no backslash is left.
RuntimeFolders runtimeFoldersFor(const std::wstring& jvmLibraryPath);

// The java.library.path text before expansion: the "Library Path" value, the
// launcher folder, ".", "%Path%" and the runtime lib folder, joined by ';'
// without doubling a ';' that the text already ends with.
std::wstring libraryPathText(const std::wstring& libraryPath, const std::wstring& launcherFolder,
                             const std::wstring& libFolder);

// The new "Path" text before expansion: the "System Path" value (with ';'
// added when it lacks one), "%Path%;" and the runtime bin folder.
std::wstring newPathText(const std::wstring& systemPath, const std::wstring& binFolder);

// Sets one process environment variable; failures are ignored.
using EnvironmentSetter = std::function<void(const std::wstring& name, const std::wstring& value)>;

// Prepares the process environment for the runtime, in this order: sets
// ZQ_JVM_PATH and ZQ_JVM_HOME, expands the library path text (so it sees
// both and the previous "Path"), then expands and sets "Path". Returns the
// "-Djava.library.path=..." option (wide; the caller converts it) when
// `libraryPath` is not empty. A failed expansion keeps the text unchanged.
std::optional<std::wstring> prepareRuntimeEnvironment(const std::wstring& jvmLibraryPath,
                                                      const std::wstring& libraryPath,
                                                      const std::wstring& systemPath,
                                                      const std::wstring& launcherFolder,
                                                      const EnvironmentExpander& expand,
                                                      const EnvironmentSetter& setVariable);
