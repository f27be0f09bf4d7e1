#pragma once
#include <optional>
#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "runtime/RegistryReader.h"
#include "runtime/RuntimeProbe.h"
#include "util/Reporter.h"
#include "util/Trace.h"

// What the runtime selection asks of the platform and of the user.
class RuntimeSelectionHost {
public:
    virtual ~RuntimeSelectionHost() = default;

    virtual bool pathExists(const std::wstring& path) = 0;
    // The executable's full path; nothing when it is not known.
    virtual std::optional<std::wstring> executablePath() = 0;
    // True when the file is a 32-bit (Intel 386) image.
    virtual bool isX86Library(const std::wstring& path) = 0;
    // The runtimes registered in one registry view, in the order found.
    virtual std::vector<RuntimeCandidate> searchRegistry(const LauncherSettings& settings, RegistryView view) = 0;
    // True when the launcher runs elevated: the sources a normal process of
    // the user can write (JAVA_HOME, the per-user registry keys) are then not
    // used, so that they cannot plant a runtime in an administrator's start.
    virtual bool runsElevated() = 0;
    // The text of a string-table entry.
    virtual std::wstring loadMessage(int id) = 0;
    // The value of an environment variable; nothing when it is not set.
    virtual std::optional<std::wstring> environmentVariable(const std::wstring& name) = 0;
    // The first bytes (up to 64 KB) of a small text file; nothing when it
    // cannot be read.
    virtual std::optional<std::string> readSmallFile(const std::wstring& path) = 0;

    using UserChoice = RuntimeChoice;
    // Asks the user for a runtime folder, saying `message`; `searched` names
    // the places searched. Nothing when the user gave none.
    virtual std::optional<UserChoice> askUserForRuntime(const std::wstring& message, const std::wstring& searched,
                                                        JvmType jvmType) = 0;
    // Remembers a folder the user chose for the next start.
    virtual void rememberJrePath(const std::wstring& folder) = 0;
};

struct RuntimeSelection {
    std::wstring jvmLibraryPath;
    bool relaunchThroughPair = false;
    // The registry's version of the chosen runtime; nothing for the other
    // sources, whose version only the runtime's release file tells.
    std::optional<VersionNumber> version;
};

// Chooses the JVM library from, in order: "JRE Path", the executable's folder
// or its "jre64\" subfolder (only when one of them holds a runtime: nothing
// is ever taken from the current directory for them), the registry (own
// view, then the 32-bit view when a pair launcher is configured), JAVA_HOME
// (with "Use JAVA_HOME", when its release file's version is in range, and not
// when the launcher runs elevated), and the user. Nothing when the user cancelled.
// Each source tried is traced with what it yielded.
std::optional<RuntimeSelection> selectRuntime(const LauncherSettings& settings, RuntimeSelectionHost& host,
                                              const Trace& trace = Trace());

// Among the candidates of one registry view: sorted (preferred first when both
// kinds are searched, server VMs first for "favor_server", higher versions
// first; stable), then the first match of the preferred versions in their
// written order, else the first. Nothing for an empty list.
std::optional<RuntimeCandidate> chooseCandidate(std::vector<RuntimeCandidate> candidates,
                                                const LauncherSettings& settings);

// The not-found message with the version phrase of the configured range.
std::wstring runtimeNotFoundMessage(const LauncherSettings& settings, RuntimeSelectionHost& host);
