#pragma once
#include <algorithm>
#include <string>

#include "TestRuntimeControl.h"
#include "support/Scenario.h"

// The smallest working configuration: main class app.Main from \app.jar.
inline constexpr const wchar_t* kMinimalIni =
    L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n";

// An application folder with the launcher as App.exe and a test runtime.
class AppScenario : public Scenario {
public:
    AppScenario() { installLauncher(); }

    // Lays out the test runtime in `home` (relative to the folder; empty for
    // the application folder itself) with its library in bin\<vmFolder>\.
    // Returns the folder of the jvm.dll.
    std::wstring installRuntime(const std::wstring& home, const TestRuntimeScenario& runtime,
                                TestRuntimeVariant variant = TestRuntimeVariant::Standard,
                                const std::wstring& vmFolder = L"server") const
    {
        const std::wstring homePath = home.empty() ? folder() : path(home);
        const std::wstring jvm =
            installTestRuntime(runtimeBuildFolder(), variant, homePath, runtime, vmFolder);
        return jvm.empty() ? std::wstring() : jvm.substr(0, jvm.rfind(L'\\'));
    }

    void writeIni(const std::wstring& text) const { writeText(L"App.ini", text); }

    // Starts the launcher with its decision trace written to launch.log in
    // the folder, and returns the trace.
    std::string runTraced(RunResult& result, const DialogHandler& handler = pressDefaultButton) const
    {
        ::SetEnvironmentVariableW(L"LAUNCHER_TRACE", path(L"launch.log").c_str());
        result = run(std::wstring(), 30000, handler);
        ::SetEnvironmentVariableW(L"LAUNCHER_TRACE", nullptr);
        return readBytes(L"launch.log");
    }

    static std::wstring runtimeBuildFolder()
    {
        // A wide literal: the build tree's path may hold characters outside ASCII.
        std::wstring folder = L"" TEST_RUNTIME_BUILD_DIR;
        std::replace(folder.begin(), folder.end(), L'/', L'\\');
        return folder;
    }
};

// The arguments main received, in order, as UTF-8.
inline std::vector<std::string> mainArguments(const TestRuntimeLog& log)
{
    return log.values("arg");
}
