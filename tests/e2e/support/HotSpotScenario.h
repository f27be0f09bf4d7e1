#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "support/Scenario.h"

// Which build of the HotSpot bridge runtime a scenario lays out.
enum class HotSpotRuntime {
    Bridge,                 // the bridge itself, with JVM_FindClassFromBootLoader
    WithoutLauncherHelper,  // the bridge behind a jvm.dll without that entry point
};

// An application folder with the launcher as App.exe, the Java applications
// of the HotSpot scenarios (tests/hotspot/scenarios) and the bridge runtime,
// so the real launcher starts real Java code on Linux's HotSpot.
class HotSpotScenario : public Scenario {
public:
    HotSpotScenario();

    // Empty when the bridge, its runtime variants and the scenario jars are in
    // the build tree; otherwise why the HotSpot scenarios cannot run.
    static std::string unavailableReason();

    // Copies the runtime folder (bin\java.dll, bin\server\jvm.dll) to `home`,
    // relative to the application folder.
    void installRuntime(const std::wstring& home, HotSpotRuntime runtime = HotSpotRuntime::Bridge) const;
    // Copies scenario-app.jar and scenario-lib.jar into `folder`.
    void installJars(const std::wstring& folder) const;
    void writeIni(const std::wstring& text) const { writeText(L"App.ini", text); }

    // Starts App.exe with its standard streams captured.
    RunResult run(const std::wstring& arguments = std::wstring(), DWORD timeoutMs = 60000,
                  const DialogHandler& handler = pressDefaultButton) const;
    // The same, started with `workingFolder` (a full path) as its current folder
    // instead of the application folder.
    RunResult runFrom(const std::wstring& workingFolder, const std::wstring& arguments = std::wstring()) const;
};

// The "key=value" lines a scenario application printed, by key (the last one
// wins), with carriage returns removed.
std::map<std::string, std::string> outputValues(const std::string& output);

// The lines of a text without their line ends.
std::vector<std::string> outputLines(const std::string& output);

// Splits a Java path list at ':'.
std::vector<std::string> splitPathList(const std::string& list);

