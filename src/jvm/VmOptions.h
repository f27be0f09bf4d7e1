#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/SettingsReader.h"
#include "jvm/MemoryOptions.h"
#include "util/CommandLine.h"
#include "util/Failure.h"
#include "util/Trace.h"

// The tokens of a "Virtual Machine Parameters" text. Only the space separates
// tokens (a tab does not); runs of spaces give no empty tokens. A double quote
// opens a section that protects spaces up to the next double quote, or up to
// a doubled one ("") that directly follows it; a double quote with no other
// double quote after it is an ordinary character. Quotes stay in the tokens.
std::vector<std::wstring> splitVmParameters(const std::wstring& text);

// `token` with its quoted sections unquoted: each pair of double quotes is
// removed, except that a closing quote directly followed by another one leaves
// a literal quote (the second one closes the section). A lone quote stays.
std::wstring unquoteToken(const std::wstring& token);

enum class ClassPathEntryKind {
    Wildcard,  // contains '*': expanded by a directory search
    Relative,  // resolved against the launcher's folder by a directory search
    Absolute,  // second character ':': used as written
    Network,   // starts with two backslashes: used as written
};

// The kind of a (non-empty, environment-expanded) class-path entry.
ClassPathEntryKind classifyClassPathEntry(const std::wstring& entry);

// The names (without folder) of the directory entries that match a search
// pattern such as C:\App\lib\*.jar, in the order the file system reports them,
// "." and ".." included when the pattern covers them; empty when nothing
// matches or the search fails.
using DirectoryMatchLister = std::function<std::vector<std::wstring>(const std::wstring& pattern)>;

// Appends every directory match of a wildcard or relative class-path entry to
// `classPathText`, each as its full path followed by ';'. A relative entry is
// searched below `launcherFolder` (with or without its trailing backslash),
// so \lib\app.jar means <launcher folder>\lib\app.jar. An entry that matches
// nothing contributes nothing.
void expandClassPathEntry(const std::wstring& entry, const std::wstring& launcherFolder,
                          const DirectoryMatchLister& listMatches, std::wstring& classPathText);

// What the option assembly asks of the platform. Every member must be set.
struct VmOptionServices {
    EnvironmentExpander expandEnvironment;  // %NAME% expansion; nullopt keeps the text
    DirectoryMatchLister listMatches;
    std::function<MemoryStatus()> memoryStatus;               // read once per percentage option
    // The option as narrow text for the runtime (thread's ANSI code page),
    // or why it cannot be passed.
    std::function<Expected<std::string>(const std::wstring&)> toAnsi;
    Trace trace;                                              // off unless asked for
};

// The result of one option assembly.
struct VmOptionAssembly {
    // "-Djava.class.path=..." first, then the user parameters; to be appended
    // after the library path option.
    std::vector<std::string> options;
    std::uint64_t vmThreadStackSize = 0;  // 0: not set
    std::wstring outputFile;              // environment-expanded; empty: not set
    bool outputAppend = false;
    std::wstring errorFile;
    bool errorAppend = false;
};

// Builds the JVM options from the launch settings: the class path (entries
// expanded and resolved; an empty entry is skipped; the launcher executable
// first when "Embedded Jar" is set), then the user VM parameters split,
// unquoted, percentage sizes rewritten and the "-Xss" stack size taken before
// environment expansion. Also fills the stream redirection settings and
// appends the "Cmd" arguments to `arguments`. An empty class path fails with
// message 209 and nothing else done.
Expected<VmOptionAssembly> assembleVmOptions(const LaunchOptionSettings& settings, const std::wstring& executablePath,
                                             const std::wstring& executableFolder, const VmOptionServices& services,
                                             std::vector<std::wstring>& arguments);
