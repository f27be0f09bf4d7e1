#pragma once
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "config/LayeredIniFile.h"
#include "config/LauncherSettings.h"
#include "util/Failure.h"
#include "util/Trace.h"

// What the settings reader needs from the platform; the launcher wires it to
// the configuration files, tests to in-memory stores.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;

    // A plain store on the main configuration file (no embedded text, no
    // extension sections).
    virtual std::unique_ptr<ConfigStore> openMainFile() = 0;

    // The embedded settings text; empty when the executable carries none.
    virtual std::wstring embeddedSettingsText() = 0;

    // A plain store on the per-user configuration file when that file exists,
    // null otherwise. Called after the product values are read into
    // `settings`, which name the file's folder.
    virtual std::unique_ptr<ConfigStore> openExistingPerUserFile(const LauncherSettings& settings) = 0;
};

// True when `value` is "Yes" in any ASCII letter case.
bool isYesInsensitive(const std::wstring& value);

// The layered store over the main configuration file and the embedded text.
std::unique_ptr<LayeredIniFile> openLayeredSettings(SettingsSource& source);

// Fills `settings` from the configuration, in the launcher's fixed order.
// Fails with message 210 when "Main Class" is empty; the remaining keys are
// then not read.
// Each key found is traced with its value.
Expected<void> readSettings(LauncherSettings& settings, SettingsSource& source, const Trace& trace = Trace());

// The same from a layered store already open on the source (the product keys
// from its file part).
Expected<void> readSettings(LauncherSettings& settings, const LayeredIniFile& layered, SettingsSource& source,
                  const Trace& trace = Trace());

// Applies a "JVM Source" value to the kind switches.
void applyJvmSource(const std::wstring& value, RuntimeSearchFilter& filter);

// Applies a "VM Provider" value (a row of the provider table, any ASCII
// case) to the vendor switches; an empty or unknown value changes nothing.
void applyVmProvider(const std::wstring& value, RuntimeSearchFilter& filter);

// "JVM Type": exact "server" or "favor_server"; anything else is ClientFirst.
JvmType jvmTypeFromSetting(const std::wstring& value);

// The keys that the single-instance check reads from the layered store:
// "Single Instance" (exact "yes") counts only when the application is not a
// service (exact "service" in "Application Type").
bool readSingleInstance(const ConfigStore& layered);

// The keys that the VM option assembly reads from the layered store, as
// written there (expansion is the assembly's task).
struct LaunchOptionSettings {
    std::vector<std::wstring> classPath;  // "Class Path" split at ";"
    bool embeddedJar = false;             // "Embedded Jar", yes-insensitive
    std::wstring vmParameters;            // "Virtual Machine Parameters"
    std::wstring outputFile;              // "Output File"
    bool outputAppend = false;            // "Output Append", exact "yes"
    std::wstring errorFile;               // "Error File"
    bool errorAppend = false;             // "Error Append", exact "yes"
    std::wstring command;                 // "Cmd"
};
LaunchOptionSettings readLaunchOptionSettings(const ConfigStore& layered);

// The keys that a service started by the service manager reads from the
// layered store.
struct ServiceSettings {
    // "Service Stop Method" split at its last dot: the class in slash form
    // and the method. Both empty when the key is absent or has no class or
    // no method (no dot, a dot first or last): a stop then ends the VM with
    // System.exit(0).
    std::wstring stopClass;
    std::wstring stopMethod;
    // "Service Stop Timeout" in seconds: a whole number from 1; larger than a
    // day counts as a day; anything else (empty, 0, negative, not a number)
    // gives the default.
    unsigned stopTimeoutSeconds = kDefaultServiceStopTimeout;

    static constexpr unsigned kDefaultServiceStopTimeout = 30;
    static constexpr unsigned kMaximumServiceStopTimeout = 24 * 60 * 60;
};
ServiceSettings readServiceSettings(const ConfigStore& layered);

// The keys that the splash start reads from the plain main file.
struct SplashSettings {
    std::wstring image;           // "Splash Screen"
    std::wstring shadow;          // "Splash Screen Shadow"; exact "true" draws a shadow
    bool preferNative = false;    // "Preffer Native Splash Screen", yes-insensitive
};
SplashSettings readSplashSettings(const ConfigStore& mainFile);
