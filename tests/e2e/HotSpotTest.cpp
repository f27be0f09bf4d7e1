// Whole starts of configured applications on a real Java VM: Linux's HotSpot
// behind the bridge jvm.dll of tests/hotspot, with the Java applications of
// tests/hotspot/scenarios. What the test runtime can only simulate (class
// loading from real jars, String[] arguments, System.exit, the VM honouring
// its options, non-daemon threads) is checked here against the real thing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>

#include "support/HotSpotScenario.h"

namespace {

class HotSpot : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string reason = HotSpotScenario::unavailableReason();
        if (!reason.empty()) {
            GTEST_SKIP() << "HotSpot scenario skipped: " << reason;
        }
    }
};

// An ini file for the scenario application `mainClass` with its jars in lib\.
std::wstring iniFor(const std::wstring& mainClass, const std::wstring& extraRuntimeKeys = std::wstring(),
                    const std::wstring& applicationSection = std::wstring())
{
    return L"[Java Runtime Environment]\n"
           L"Main Class=" + mainClass + L"\n" + extraRuntimeKeys +
           L"[Class Path]\n"
           L"Class Path=\\lib\\*.jar\n" +
           (applicationSection.empty() ? std::wstring() : L"[Application]\n" + applicationSection);
}

// The full output of a run, for failure messages.
std::string describe(const RunResult& result)
{
    std::string text = "exit code " + std::to_string(result.exitCode) + (result.timedOut ? " (timed out)" : "") +
                       "\n--- stdout\n" + result.standardOutput + "--- stderr\n" + result.standardError;
    for (const std::wstring& box : result.messageTexts()) {
        text += "--- box\n" + utf8(box) + "\n";
    }
    return text;
}

std::string codePoints(const std::wstring& text)
{
    std::string codes;
    char buffer[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned long point = text[i];
        if (point >= 0xD800 && point < 0xDC00 && i + 1 < text.size()) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        std::snprintf(buffer, sizeof buffer, "%s%lx", codes.empty() ? "" : " ", point);
        codes += buffer;
    }
    return codes;
}

TEST_F(HotSpot, TypicalStartLoadsTheWildcardJarsAndPassesTheArguments)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.writeIni(iniFor(L"scenario.app.Report", std::wstring(), L"Cmd=--from \"the configuration\"\n"));

    const RunResult result = app.run(L"first \"second argument\"");
    ASSERT_FALSE(result.timedOut) << describe(result);
    EXPECT_EQ(result.exitCode, 0u) << describe(result);
    EXPECT_TRUE(result.dialogs.empty()) << describe(result);

    auto values = outputValues(result.standardOutput);
    ASSERT_NE(result.standardOutput.find("\nend"), std::string::npos) << "the report is complete: " << describe(result);
    // Command-line arguments first, then those of "Cmd".
    EXPECT_EQ(values["argc"], "4");
    EXPECT_EQ(values["arg0"], "first");
    EXPECT_EQ(values["arg1"], "second argument");
    EXPECT_EQ(values["arg2"], "--from");
    EXPECT_EQ(values["arg3"], "the configuration");
    // A class of the other jar the wildcard matched was loaded.
    EXPECT_EQ(values["greeting"], "greeting from the library jar");

    // Both jars, as the VM sees them (Unix paths), and nothing unexpected.
    const std::string lib = values["cwd"] + "/lib/";
    // No empty entry: Java would read it as the folder the user started from.
    std::vector<std::string> classPath = splitPathList(values["class.path"]);
    std::sort(classPath.begin(), classPath.end());
    EXPECT_EQ(classPath, (std::vector<std::string>{lib + "scenario-app.jar", lib + "scenario-lib.jar"}))
        << values["class.path"];
}

TEST_F(HotSpot, FolderOutsideTheCodePageStartsWithItsPathsIntact)
{
    const std::wstring home = L"\u0141ukasz \u5e94\u7528";
    HotSpotScenario app;
    app.createFolder(home);
    app.createFolder(home + L"\\data \u6570\u636e");
    app.writeBytes(home + L"\\data \u6570\u636e\\note.txt", "note");
    app.installLauncher(home + L"\\App.exe");
    app.installJars(home + L"\\lib");
    app.installRuntime(home + L"\\jre64");
    const std::wstring data = app.path(home + L"\\data \u6570\u636e");
    app.writeUtf16(home + L"\\App.ini", L"[Java Runtime Environment]\nMain Class=scenario.app.Report\n"
                                         L"Library Path=" + data + L"\nVirtual Machine Parameters=-Xss2m \"-Dreport.read=" +
                                         data + L"\\note.txt\"\n[Class Path]\nClass Path=\\lib\\*.jar\n");
    const std::wstring program = app.path(home + L"\\App.exe");
    const RunResult result =
        runProcess(program, L"\"" + program + L"\" \u0141\u00f3d\u017a", app.path(home), 60000, pressDefaultButton, true);
    EXPECT_EQ(result.exitCode, 0u) << describe(result);
    auto values = outputValues(result.standardOutput);
    EXPECT_EQ(values["arg0"], utf8(L"\u0141\u00f3d\u017a")) << describe(result);
    // The value arrived in short form, intact (the bridge's Linux Java opens
    // it as a Unix name, so it cannot read the file itself).
    const std::string read = values["read.failed"];
    EXPECT_NE(read.find("~"), std::string::npos) << describe(result);
    EXPECT_EQ(read.find("?"), std::string::npos) << describe(result);
    EXPECT_NE(read.find("note.txt"), std::string::npos) << describe(result);
    EXPECT_NE(values["class.path"].find(utf8(home)), std::string::npos) << describe(result);
}

TEST_F(HotSpot, UnicodeArgumentsReachMainUnchanged)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.writeIni(iniFor(L"scenario.app.Report"));
    const std::wstring arguments[] = {
        L"\u03b1\u03b2\u03b3",                        // Greek
        L"\u65e5\u672c\u8a9e \U0001F600",             // CJK, a space and a character beyond the BMP
        L"Gr\u00fc\u00dfe-\u20ac",                    // Latin-1 and the euro sign (not in Latin-1)
        L"\U0001D11E\U0001F4A9",                      // two surrogate pairs in a row
    };
    std::wstring commandLine;
    for (const std::wstring& argument : arguments) {
        commandLine += L" \"" + argument + L"\"";
    }

    const RunResult result = app.run(commandLine);
    ASSERT_FALSE(result.timedOut) << describe(result);
    EXPECT_EQ(result.exitCode, 0u) << describe(result);
    auto values = outputValues(result.standardOutput);
    ASSERT_EQ(values["argc"], std::to_string(std::size(arguments))) << describe(result);
    for (std::size_t i = 0; i < std::size(arguments); ++i) {
        SCOPED_TRACE("argument " + std::to_string(i));
        const std::string key = "arg" + std::to_string(i);
        // Code points as Java counts them: surrogate pairs arrived as pairs.
        EXPECT_EQ(values[key + ".codes"], codePoints(arguments[i]));
        EXPECT_EQ(values[key], utf8(arguments[i]));
    }
}

TEST_F(HotSpot, MainClassThroughLauncherHelperAndThroughFindClass)
{
    // A start the runtime refuses before main says why in a box, in the
    // runtime's words, and still ends with the runtime's exit code; with a
    // console (the test's pipes) the words also arrive there. A service shows
    // no box.
    struct Row {
        const char* name;
        HotSpotRuntime runtime;
        const wchar_t* mainClass;
        DWORD exitCode;
        const char* runtimeWords;  // what the runtime printed, or nullptr for nothing
        bool service;
    };
    const Row rows[] = {
        {"LauncherHelper finds the class in the jars", HotSpotRuntime::Bridge, L"scenario.app.Report", 0, nullptr,
         false},
        {"a missing class", HotSpotRuntime::Bridge, L"scenario.app.Missing", 1,
         "Could not find or load main class scenario.app.Missing", false},
        {"a class without main", HotSpotRuntime::Bridge, L"scenario.app.NoMain", 1,
         "Main method not found in class scenario.app.NoMain", false},
        {"a class file of a newer Java", HotSpotRuntime::Bridge, L"scenario.app.FromTheFuture", 1,
         "UnsupportedClassVersionError", false},
        {"a missing class in a service", HotSpotRuntime::Bridge, L"scenario.app.Missing", 1,
         "Could not find or load main class scenario.app.Missing", true},
        {"FindClass finds the class in the jars", HotSpotRuntime::WithoutLauncherHelper, L"scenario.app.Report", 0,
         nullptr, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HotSpotScenario app;
        app.installJars(L"lib");
        app.installRuntime(L"jre64", row.runtime);
        app.writeIni(iniFor(row.mainClass, std::wstring(), row.service ? L"Application Type=service\n" : L""));
        const RunResult result = app.run(L"only");
        ASSERT_FALSE(result.timedOut) << describe(result);
        EXPECT_EQ(result.exitCode, row.exitCode) << describe(result);
        if (row.runtimeWords == nullptr) {
            EXPECT_TRUE(result.dialogs.empty()) << describe(result);
            EXPECT_EQ(result.standardError, "") << describe(result);
            auto values = outputValues(result.standardOutput);
            EXPECT_EQ(values["arg0"], "only") << describe(result);
            EXPECT_EQ(values["greeting"], "greeting from the library jar") << describe(result);
            continue;
        }
        EXPECT_NE(result.standardError.find(row.runtimeWords), std::string::npos) << describe(result);
        EXPECT_EQ(result.standardOutput, "") << describe(result);
        if (row.service) {
            EXPECT_TRUE(result.dialogs.empty()) << describe(result);
            continue;
        }
        ASSERT_EQ(result.messageTexts().size(), 1u) << describe(result);
        const std::string box = utf8(result.messageTexts()[0]);
        EXPECT_EQ(box.rfind("The application could not be started.\nMain class: " + utf8(row.mainClass), 0), 0u) << box;
        EXPECT_NE(box.find(row.runtimeWords), std::string::npos) << box;
    }
}

// Without LauncherHelper a missing main class is reported on standard error
// (the VM's exception) and in the launcher's message box, which repeats it.
RunResult runWithMissingClassThroughFindClass(DWORD timeoutMs)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64", HotSpotRuntime::WithoutLauncherHelper);
    app.writeIni(iniFor(L"scenario.app.Missing"));
    const RunResult result = app.run(std::wstring(), timeoutMs);
    EXPECT_EQ(result.messageTexts().size(), 1u) << describe(result);
    const std::wstring message = result.messageTexts().empty() ? std::wstring() : result.messageTexts()[0];
    EXPECT_EQ(message.rfind(L"Could not find the main class scenario/app/Missing.\n", 0), 0u) << describe(result);
    EXPECT_NE(message.find(L"java.lang.NoClassDefFoundError: scenario/app/Missing"), std::wstring::npos)
        << describe(result);
    EXPECT_NE(result.standardError.find("java.lang.NoClassDefFoundError: scenario/app/Missing"), std::string::npos)
        << describe(result);
    EXPECT_EQ(result.standardOutput, "") << describe(result);
    return result;
}

// After the box the start ends: the VM thread lets go of the VM before it
// ends, so the VM's destruction at shutdown has nothing to wait for.
TEST_F(HotSpot, FindClassReportsAMissingMainClassAndEndsTheStart)
{
    const RunResult result = runWithMissingClassThroughFindClass(30000);
    EXPECT_FALSE(result.timedOut) << describe(result);
    EXPECT_EQ(result.exitCode, 0xFFFFFFFF) << describe(result);
}

TEST_F(HotSpot, ThreadStackSizeDecidesHowDeepMainCanRecurse)
{
    // 100000 levels need several megabytes of stack; the runtime's default
    // stack (1 MB on Linux) overflows long before.
    struct Row {
        const char* name;
        const wchar_t* parameters;
        const char* outcome;
    };
    const Row rows[] = {
        {"-Xss64m", L"-Xss64m", "reached 100000"},
        {"the runtime's default stack", L"", "stack overflow"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HotSpotScenario app;
        app.installJars(L"lib");
        app.installRuntime(L"jre64");
        app.writeIni(iniFor(L"scenario.app.DeepRecursion",
                            std::wstring(L"Virtual Machine Parameters=") + row.parameters + L"\n"));
        const RunResult result = app.run(L"100000");
        ASSERT_FALSE(result.timedOut) << describe(result);
        EXPECT_EQ(result.exitCode, 0u) << describe(result);
        EXPECT_EQ(outputValues(result.standardOutput)["recursion"], row.outcome) << describe(result);
    }
}

TEST_F(HotSpot, PercentageHeapLimitReachesTheVm)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.writeIni(iniFor(L"scenario.app.Report", L"Virtual Machine Parameters=-Xmx10P\n"));
    const RunResult result = app.run();
    ASSERT_FALSE(result.timedOut) << describe(result);
    ASSERT_EQ(result.exitCode, 0u) << describe(result);

    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    const double expected = static_cast<double>(memory.ullTotalPhys) * 0.10;
    const double reported = std::stod(outputValues(result.standardOutput)["max.memory"]);
    // The collector keeps part of the heap for itself (Runtime.maxMemory is
    // about 89 to 97 percent of -Xmx) and rounds -Xmx up to its region size.
    EXPECT_GE(reported, expected * 0.85) << describe(result);
    EXPECT_LE(reported, expected + 4.0 * 1024 * 1024) << describe(result);
}

TEST_F(HotSpot, SystemExitCodeBecomesTheProcessExitCode)
{
    struct Row {
        const wchar_t* argument;
        DWORD exitCode;
    };
    const Row rows[] = {{L"3", 3}, {L"0", 0}, {L"-1", 0xFFFFFFFF}, {L"65536", 65536}};
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.argument));
        HotSpotScenario app;
        app.installJars(L"lib");
        app.installRuntime(L"jre64");
        app.writeIni(iniFor(L"scenario.app.Exit"));
        const RunResult result = app.run(row.argument);
        ASSERT_FALSE(result.timedOut) << describe(result);
        EXPECT_EQ(result.exitCode, row.exitCode) << describe(result);
        EXPECT_TRUE(result.dialogs.empty()) << describe(result);
        EXPECT_EQ(outputLines(result.standardOutput), std::vector<std::string>{"exiting with " + utf8(row.argument)});
    }
}

TEST_F(HotSpot, ProcessOutlivesMainUntilItsNonDaemonThreadEnds)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.writeIni(iniFor(L"scenario.app.Linger"));
    const DWORD lingerMs = 2500;
    const ULONGLONG start = ::GetTickCount64();
    const RunResult result = app.run(std::to_wstring(lingerMs));
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    ASSERT_FALSE(result.timedOut) << describe(result);
    EXPECT_EQ(result.exitCode, 0u) << describe(result);
    EXPECT_EQ(outputLines(result.standardOutput), (std::vector<std::string>{"main returns", "worker finished"}))
        << describe(result);
    EXPECT_GE(elapsed, lingerMs) << describe(result);
}

TEST_F(HotSpot, LibraryPathAsTheVmReportsIt)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.createFolder(L"native");
    app.writeIni(iniFor(L"scenario.app.Report", L"Library Path=native\n"));
    const RunResult result = app.run();
    ASSERT_FALSE(result.timedOut) << describe(result);
    ASSERT_EQ(result.exitCode, 0u) << describe(result);

    auto values = outputValues(result.standardOutput);
    const std::string cwd = values["cwd"];
    const std::vector<std::string> entries = splitPathList(values["library.path"]);
    // "Library Path", the launcher's folder, ".", every entry of Path, the runtime's lib folder.
    std::wstring windowsPath(32767, L'\0');
    windowsPath.resize(::GetEnvironmentVariableW(L"Path", windowsPath.data(), 32767));
    const std::size_t pathEntries = static_cast<std::size_t>(std::count(windowsPath.begin(), windowsPath.end(), L';')) + 1;
    ASSERT_EQ(entries.size(), 3 + pathEntries + 1) << values["library.path"] << "\nPath=" << utf8(windowsPath);
    EXPECT_EQ(entries[0], cwd + "/native");
    EXPECT_EQ(entries[1], cwd);
    EXPECT_EQ(entries[2], cwd);
    EXPECT_EQ(entries.back(), cwd + "/jre64/lib");
    for (const std::string& entry : entries) {
        EXPECT_EQ(entry.substr(0, 1), "/") << entry;
        EXPECT_EQ(entry.find('\\'), std::string::npos) << entry;
    }
}

// With "Override WorkingDir=Yes" the VM works in the launcher's folder, as a
// Windows VM would, whichever folder the launcher was started from: user.dir
// is that folder and a relative name opens the file beside App.exe.
TEST_F(HotSpot, OverriddenWorkingFolderIsTheVmsWorkingFolder)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.createFolder(L"elsewhere");
    app.writeBytes(L"beside.txt", "beside the launcher");
    app.writeIni(iniFor(L"scenario.app.Report", L"Virtual Machine Parameters=-Dreport.read=beside.txt\n",
                        L"Override WorkingDir=Yes\n"));
    const RunResult result = app.runFrom(app.path(L"elsewhere"));
    ASSERT_FALSE(result.timedOut) << describe(result);
    ASSERT_EQ(result.exitCode, 0u) << describe(result);

    auto values = outputValues(result.standardOutput);
    // The launcher's folder as a Unix path: where the bridge found the jars beside it.
    const std::string jar = "/lib/scenario-app.jar";
    std::string launcherFolder;
    for (const std::string& entry : splitPathList(values["class.path"])) {
        if (entry.size() > jar.size() && entry.compare(entry.size() - jar.size(), jar.size(), jar) == 0) {
            launcherFolder = entry.substr(0, entry.size() - jar.size());
        }
    }
    ASSERT_FALSE(launcherFolder.empty()) << describe(result);
    EXPECT_EQ(values["user.dir"], launcherFolder) << describe(result);
    EXPECT_EQ(values["read"], "beside the launcher") << describe(result);
}

TEST_F(HotSpot, VmParametersWithQuotesAndEnvironmentReferences)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.writeIni(iniFor(L"scenario.app.Report",
                        L"Virtual Machine Parameters=-Dapp.title=\"My App\"  \"-Dapp.subtitle=Second App\" "
                        L"-Dapp.home=%HOTSPOT_E2E_HOME%\\data -Dapp.undefined=%HOTSPOT_E2E_UNDEFINED%\n"));
    // Set here, expanded by the launcher: the VM never reads the variable.
    ::SetEnvironmentVariableW(L"HOTSPOT_E2E_HOME", L"C:\\Program Files\\App");
    const RunResult result = app.run();
    ::SetEnvironmentVariableW(L"HOTSPOT_E2E_HOME", nullptr);
    ASSERT_FALSE(result.timedOut) << describe(result);
    ASSERT_EQ(result.exitCode, 0u) << describe(result);

    std::vector<std::string> properties;
    for (const std::string& line : outputLines(result.standardOutput)) {
        if (line.rfind("property.", 0) == 0) {
            properties.push_back(line);
        }
    }
    EXPECT_EQ(properties, (std::vector<std::string>{
                              "property.app.home=C:\\Program Files\\App\\data",
                              "property.app.subtitle=Second App",
                              "property.app.title=My App",
                              "property.app.undefined=%HOTSPOT_E2E_UNDEFINED%",
                          }))
        << describe(result);
}

} // namespace

namespace {

TEST_F(HotSpot, OutputAndErrorFilesWithADatePattern)
{
    // Java opens names as Unix paths: relative names, in the working folder.
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.writeIni(iniFor(L"scenario.app.Report", std::wstring(),
                        L"Output File=report_%yyyyMMdd%.log\nError File=errors.log\n"));
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    const RunResult result = app.run(L"to-the-file");
    ASSERT_FALSE(result.timedOut) << describe(result);
    EXPECT_EQ(result.exitCode, 0u) << describe(result);
    EXPECT_EQ(result.standardOutput, "") << "System.out went to the file, not to the process's output";

    wchar_t date[16];
    std::swprintf(date, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    const std::string report = app.readBytes(L"report_" + std::wstring(date) + L".log");
    auto values = outputValues(report);
    EXPECT_EQ(values["arg0"], "to-the-file") << report;
    EXPECT_NE(report.find("\nend"), std::string::npos) << "the report is complete";
    EXPECT_TRUE(app.exists(L"errors.log"));
    EXPECT_EQ(app.readBytes(L"errors.log"), "");
}

} // namespace

namespace {

// A second start hands its arguments to the running instance's secondaryMain
// on real HotSpot: the int answer becomes its exit code, the void form gives 0.
TEST_F(HotSpot, SecondStartReachesSecondaryMainOfTheRunningInstance)
{
    struct Row {
        const wchar_t* mainClass;
        DWORD secondaryExitCode;
    };
    const Row rows[] = {
        {L"scenario.app.InstanceInt", 43},
        {L"scenario.app.InstanceVoid", 0},
        {L"scenario.app.Gr\u00fc\u00dfe", 43},  // the listener's lookup is modified UTF-8 too
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.mainClass));
        HotSpotScenario app;
        app.installJars(L"lib");
        app.installRuntime(L"jre64");
        app.writeIni(iniFor(row.mainClass, std::wstring(), L"Single Instance=yes\n"));
        std::future<RunResult> primary = std::async(std::launch::async, [&app] { return app.run(L"6000"); });
        bool started = false;
        for (int i = 0; i < 400 && !started; ++i) {
            started = app.exists(L"main.started");
            if (!started) {
                ::Sleep(50);
            }
        }
        ASSERT_TRUE(started) << "the first start's main did not run";

        const RunResult second = app.run(L"one \"two words\" \u00e9t\u00e9");
        EXPECT_FALSE(second.timedOut) << describe(second);
        EXPECT_EQ(second.exitCode, row.secondaryExitCode) << describe(second);
        EXPECT_EQ(second.standardOutput, "") << "the second start ran no Java itself";

        std::string received;
        for (int i = 0; i < 100 && received.empty(); ++i) {
            received = app.readBytes(L"secondary.txt");
            if (received.empty()) {
                ::Sleep(50);
            }
        }
        EXPECT_EQ(received, "one\ntwo words\n" + utf8(L"\u00e9t\u00e9"));

        const RunResult first = primary.get();
        EXPECT_FALSE(first.timedOut) << describe(first);
        EXPECT_EQ(first.exitCode, 0u) << describe(first);
    }
}

} // namespace

namespace {

// The scenario's class-data archive files with the suffix.
std::vector<std::wstring> archivesOf(const HotSpotScenario& app, const wchar_t* suffix = L".jsa")
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const HANDLE find = ::FindFirstFileW(app.path(L"local\\Acme\\1\\*" + std::wstring(suffix)).c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(find, &data)) {
        names.push_back(L"local\\Acme\\1\\" + std::wstring(data.cFileName));
    }
    ::FindClose(find);
    return names;
}

// Waits until every archive writer that starts left behind has finished:
// each class list has its archive, with the header (written last).
void waitForArchiveWriters(const HotSpotScenario& app)
{
    for (int i = 0; i < 240; ++i, ::Sleep(250)) {
        bool finished = true;
        for (const std::wstring& list : archivesOf(app, L".classlist")) {
            const std::wstring archive = list.substr(0, list.size() - 10) + L".tmp";
            finished = finished && app.readBytes(archive).substr(0, 4) == std::string("\xA2\xAB\x0B\xF0", 4);
        }
        if (finished) {
            return;
        }
    }
    ADD_FAILURE() << "no archive written";
}

// Cuts the archive to half or changes bytes in its middle (it is read-only).
void damageArchive(const HotSpotScenario& app, bool truncate)
{
    const std::wstring archive = archivesOf(app).at(0);
    std::string bytes = app.readBytes(archive);
    bytes = truncate ? bytes.substr(0, bytes.size() / 2) : std::string(bytes).replace(bytes.size() / 2, 64, 64, 'x');
    ::SetFileAttributesW(app.path(archive).c_str(), FILE_ATTRIBUTE_NORMAL);
    app.writeBytes(archive, bytes);
}

} // namespace

// With "Class Data Sharing" the first start records its classes and the
// runtime's java.exe writes the archive after it; the next start maps it. A
// damaged archive, an updated jar or runtime (each records anew) or no folder
// for the archive changes nothing the application sees.
TEST_F(HotSpot, ClassDataArchiveIsWrittenThenUsedAndNeverChangesTheOutput)
{
    HotSpotScenario app;
    app.installJars(L"lib");
    app.installRuntime(L"jre64");
    app.writeText(L"jre64\\release", L"JAVA_VERSION=\"17.0.15\"\n");
    app.writeBytes(L"jre64\\bin\\server\\classes.jsa", "");  // the runtime's own archive: the bridge maps the JDK's
    app.createFolder(L"local");
    const std::wstring product = L"[Product Information]\nProduct Name=Acme\nProduct Code=1\n";
    app.writeIni(product + iniFor(L"scenario.app.Report"));
    const RunResult plain = app.run();
    app.writeIni(product + iniFor(L"scenario.app.Report", L"Class Data Sharing=yes\n"));
    const std::wstring jvm = L"jre64\\bin\\server\\jvm.dll";
    const char* recorded = "classes recorded in ";
    const struct {
        std::function<void()> prepare;
        const char* traced;
        std::size_t archives;  // complete archives after the start
    } steps[] = {
        {[] {}, recorded, 0},
        {[] {}, "used: ", 1},
        {[&] { damageArchive(app, true); }, recorded, 0},
        {[] {}, "used: ", 1},
        {[&] { damageArchive(app, false); }, "used: ", 1},  // the runtime's checksums reject it
        {[&] { app.writeBytes(L"lib\\scenario-lib.jar", app.readBytes(L"lib\\scenario-lib.jar")); }, recorded, 1},
        {[&] { app.writeBytes(jvm, app.readBytes(jvm) + "update"); }, recorded, 1},
        {[&] { ::SetEnvironmentVariableW(L"LOCALAPPDATA", app.path(L"App.ini").c_str()); }, "none: the class path names a folder, or there is no local", 1},
    };
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", app.path(L"local").c_str());
    for (const auto& step : steps) {
        SCOPED_TRACE(step.traced);
        step.prepare();
        app.writeBytes(L"launch.log", std::string());
        ::SetEnvironmentVariableW(L"LAUNCHER_TRACE", app.path(L"launch.log").c_str());
        const RunResult result = app.run();
        ::SetEnvironmentVariableW(L"LAUNCHER_TRACE", nullptr);
        const std::string trace = app.readBytes(L"launch.log");
        EXPECT_NE(trace.find(std::string("class-data archive: ") + step.traced), std::string::npos) << trace;
        EXPECT_EQ(result.exitCode, 0u) << describe(result);
        EXPECT_EQ(result.standardOutput + result.standardError, plain.standardOutput + plain.standardError);
        EXPECT_EQ(archivesOf(app).size(), step.archives) << trace;
        if (step.traced == recorded) {
            waitForArchiveWriters(app);
        }
    }
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
}

namespace {

// Standard output and error share one pipe. (The bridge copies each Unix
// descriptor to its Windows handle on a thread of its own, so the order of
// lines between the two streams is the bridge's, not the launcher's.)
TEST_F(HotSpot, ConsoleFormPutsOutputErrorAndExitCodeInFrontOfTheCaller)
{
    const struct Row {
        const wchar_t* mainClass;
        DWORD exitCode;
        const char* output;
    } rows[] = {{L"scenario.app.Thrower", 1, "Exception in thread \"main\" java.lang.IllegalStateException"},
                {L"scenario.app.Exit", 3, "exiting with 3"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.mainClass));
        HotSpotScenario app;
        app.installLauncher(L"App.exe", buildPath(L"launcher-console.exe"));
        app.installJars(L"lib");
        app.installRuntime(L"jre64");
        app.writeIni(iniFor(row.mainClass));
        const std::wstring program = app.path(L"App.exe");
        const RunResult result = runProcess(program, L"\"" + program + L"\" 3", app.folder(), 60000,
                                            pressDefaultButton, true, nullptr, kErrorIntoOutput);
        EXPECT_EQ(result.exitCode, row.exitCode) << describe(result);
        EXPECT_TRUE(result.dialogs.empty()) << describe(result);
        EXPECT_NE(result.standardOutput.find(row.output), std::string::npos) << describe(result);
    }
}

} // namespace
