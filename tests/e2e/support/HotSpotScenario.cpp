#include "support/HotSpotScenario.h"

#include <gtest/gtest.h>

namespace {

std::wstring hotspotBuildPath(const std::wstring& relative)
{
    return buildPath(L"tests\\hotspot\\" + relative);
}

std::wstring runtimeFolder(HotSpotRuntime runtime)
{
    return hotspotBuildPath(runtime == HotSpotRuntime::Bridge ? L"hotspot-runtime" : L"hotspot-runtime-without-helper");
}

const wchar_t* const kScenarioJars[] = {L"scenario-app.jar", L"scenario-lib.jar"};

#ifdef E2E_HOTSPOT_BRIDGE_BUILT
bool fileExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
#endif

void copyFile(const std::wstring& from, const std::wstring& to)
{
    ASSERT_TRUE(::CopyFileW(from.c_str(), to.c_str(), FALSE))
        << "cannot copy " << utf8(from) << " to " << utf8(to) << ", error " << ::GetLastError();
}

} // namespace

HotSpotScenario::HotSpotScenario()
{
    installLauncher();
    // HotSpot takes its default charset (System.out) from the Unix locale,
    // and the bridge finds libjvm.so through JAVA_HOME; Wine hands the
    // driver's environment on to the launcher's Unix side.
    ::SetEnvironmentVariableW(L"LC_ALL", L"C.UTF-8");
#ifdef E2E_HOTSPOT_JAVA_HOME
    ::SetEnvironmentVariableA("JAVA_HOME", E2E_HOTSPOT_JAVA_HOME);
#endif
}

std::string HotSpotScenario::unavailableReason()
{
#ifndef E2E_HOTSPOT_BRIDGE_BUILT
    return "the HotSpot bridge is not part of this build (configuring tests/hotspot reported the missing "
           "packages: wine64-tools, libwine-dev, libffi-dev, openjdk-17-jdk-headless, python3; `make deps` "
           "installs them)";
#else
    const std::wstring needed[] = {
        runtimeFolder(HotSpotRuntime::Bridge) + L"\\bin\\server\\jvm.dll",
        runtimeFolder(HotSpotRuntime::WithoutLauncherHelper) + L"\\bin\\server\\jvm.dll",
        hotspotBuildPath(L"scenarios\\scenario-app.jar"),
        hotspotBuildPath(L"scenarios\\scenario-lib.jar"),
    };
    for (const std::wstring& file : needed) {
        if (!fileExists(file)) {
            return "the HotSpot bridge build is incomplete: " + utf8(file) + " is missing";
        }
    }
    return std::string();
#endif
}

void HotSpotScenario::installRuntime(const std::wstring& home, HotSpotRuntime runtime) const
{
    createFolder(home + L"\\bin\\server");
    const std::wstring from = runtimeFolder(runtime);
    copyFile(from + L"\\bin\\java.dll", path(home + L"\\bin\\java.dll"));
    copyFile(from + L"\\bin\\server\\jvm.dll", path(home + L"\\bin\\server\\jvm.dll"));
    copyFile(runtimeFolder(HotSpotRuntime::Bridge) + L"\\bin\\java.exe", path(home + L"\\bin\\java.exe"));
}

void HotSpotScenario::installJars(const std::wstring& folder) const
{
    if (!folder.empty()) {
        createFolder(folder);
    }
    const std::wstring target = folder.empty() ? this->folder() : path(folder);
    for (const wchar_t* jar : kScenarioJars) {
        copyFile(hotspotBuildPath(std::wstring(L"scenarios\\") + jar), target + L"\\" + jar);
    }
}

namespace {

RunResult runApp(const HotSpotScenario& app, const std::wstring& workingFolder, const std::wstring& arguments,
                 DWORD timeoutMs, const DialogHandler& handler)
{
    const std::wstring program = app.path(L"App.exe");
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    return runProcess(program, commandLine, workingFolder, timeoutMs, handler, true);
}

} // namespace

RunResult HotSpotScenario::run(const std::wstring& arguments, DWORD timeoutMs, const DialogHandler& handler) const
{
    return runApp(*this, folder(), arguments, timeoutMs, handler);
}

RunResult HotSpotScenario::runFrom(const std::wstring& workingFolder, const std::wstring& arguments) const
{
    return runApp(*this, workingFolder, arguments, 60000, pressDefaultButton);
}

std::vector<std::string> outputLines(const std::string& output)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) {
            end = output.size();
        }
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::map<std::string, std::string> outputValues(const std::string& output)
{
    std::map<std::string, std::string> values;
    for (const std::string& line : outputLines(output)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            values[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return values;
}

std::vector<std::string> splitPathList(const std::string& list)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = list.find(':', start);
        entries.push_back(list.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) {
            return entries;
        }
        start = colon + 1;
    }
}
