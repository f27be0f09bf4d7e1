#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "jvm/VmOptions.h"

// Publishes the runtime's location (ZQ_JVM_PATH, ZQ_JVM_HOME) and extends
// "Path" with "System Path" and the runtime's bin folder. Returns the
// "java.library.path" option (thread's ANSI code page), which goes first,
// when "Library Path" is set. Failures are ignored.
std::optional<std::string> prepareRuntimeEnvironment(const std::wstring& jvmLibraryPath,
                                                     const LauncherSettings& settings, HWND owner);

// Builds the VM options from the configuration: class path, the user's VM
// parameters (percentages made absolute, "-Xss" sizing the VM thread), the
// redirection settings, and appends the configured extra arguments to
// `arguments`. The keys come from `config`. Nothing when the class path is
// empty (after its message, owned by `owner`).
std::optional<VmOptionAssembly> assembleVmOptions(const ConfigStore& config, HWND owner,
                                                  std::vector<std::wstring>& arguments, const Trace& trace = Trace());
