#pragma once
#include <optional>
#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "jvm/OptionNarrowing.h"
#include "jvm/VmOptions.h"

// Publishes the runtime's location (ZQ_JVM_PATH, ZQ_JVM_HOME) and extends
// "Path" with "System Path" and the runtime's bin folder; relative library
// folders resolve against the folder of the launcher at `executablePath`.
// Returns the "java.library.path" option (thread's ANSI code page), which
// goes first, when "Library Path" is set; fails when a folder of it cannot
// be passed to the runtime. Other failures are ignored.
Expected<std::optional<std::string>> prepareRuntimeEnvironment(const std::wstring& jvmLibraryPath,
                                                               const LauncherSettings& settings,
                                                               const std::wstring& executablePath,
                                                               const Trace& trace);

// How options and paths become narrow text for the runtime on this machine:
// exactly in the ANSI code page, else paths in their short form.
NarrowingServices runtimeNarrowing(const Trace& trace);

// Builds the VM options from the configuration: class path, the user's VM
// parameters (percentages made absolute, "-Xss" sizing the VM thread), the
// redirection settings, and appends the configured extra arguments to
// `arguments`. The keys come from `config`; relative class-path entries
// resolve against the folder of the launcher at `executablePath`. Fails when
// the class path is empty (message 209) or an option cannot be passed.
Expected<VmOptionAssembly> assembleVmOptions(const ConfigStore& config, const std::wstring& executablePath,
                                             std::vector<std::wstring>& arguments, const Trace& trace = Trace());
