// Runtimes that installers registered, found in the registry as they write
// it; the 32-bit view handed to the companion launcher. These tests write to
// HKEY_LOCAL_MACHINE of the test prefix and remove every key they create.
#include <gtest/gtest.h>

#include "support/AppScenario.h"

namespace {

const wchar_t* const kIni = kMinimalIni;

// Whether this process runs elevated (under Wine every process does); the
// launchers it starts inherit its token.
bool testRunsElevated()
{
    HANDLE token = nullptr;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool read = ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) &&
                      ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    if (token != nullptr) {
        ::CloseHandle(token);
    }
    return read && elevation.TokenIsElevated != 0;
}

// Registry keys created for one test, removed again (deepest first) when it
// ends, whatever it asserted.
class RegistryKeys {
public:
    RegistryKeys() = default;
    RegistryKeys(const RegistryKeys&) = delete;
    RegistryKeys& operator=(const RegistryKeys&) = delete;

    ~RegistryKeys()
    {
        for (auto created = created_.rbegin(); created != created_.rend(); ++created) {
            ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, created->first.c_str(), created->second, 0);
        }
    }

    // Creates `key` (a path below HKLM, each missing level remembered) with a
    // string value `valueName` (by default "JavaHome").
    void add(const std::wstring& key, const std::wstring& javaHome, bool bits32 = false,
             const wchar_t* valueName = L"JavaHome")
    {
        const REGSAM view = bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
        std::size_t start = 0;
        while (start <= key.size()) {
            std::size_t end = key.find(L'\\', start);
            if (end == std::wstring::npos) {
                end = key.size();
            }
            const std::wstring level = key.substr(0, end);
            HKEY handle = nullptr;
            DWORD disposition = 0;
            ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, level.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                        nullptr, &handle, &disposition),
                      ERROR_SUCCESS);
            if (disposition == REG_CREATED_NEW_KEY) {
                created_.emplace_back(level, view);
            }
            if (end == key.size()) {
                ::RegSetValueExW(handle, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(javaHome.c_str()),
                                 static_cast<DWORD>((javaHome.size() + 1) * sizeof(wchar_t)));
            }
            ::RegCloseKey(handle);
            start = end + 1;
        }
    }

private:
    std::vector<std::pair<std::wstring, REGSAM>> created_;
};

TEST(RegistryRuntime, RegisteredRuntimesAreFoundAsInstallersWriteThem)
{
    struct Key {
        const wchar_t* key;
        const wchar_t* home;  // relative to the scenario folder; nullptr: a folder that does not exist
    };
    struct Row {
        const char* name;
        std::vector<Key> keys;
        const wchar_t* runtimeHome;  // where the test runtime lies
        const wchar_t* loaded;       // the jvm.dll expected, relative to the scenario folder
    };
    const Row rows[] = {
        {"a JDK 11 under its own key", {{L"Software\\JavaSoft\\JDK\\11.0.2", L"jdk-11.0.2"}}, L"jdk-11.0.2",
         L"jdk-11.0.2\\bin\\server\\jvm.dll"},
        {"a JRE 8 registered twice",
         {{L"Software\\JavaSoft\\Java Runtime Environment\\1.8", L"jre1.8.0_251"},
          {L"Software\\JavaSoft\\Java Runtime Environment\\1.8.0_251", L"jre1.8.0_251"}},
         L"jre1.8.0_251", L"jre1.8.0_251\\bin\\server\\jvm.dll"},
        {"an old JDK keeps its runtime in jre\\",
         {{L"Software\\JavaSoft\\Java Development Kit\\1.8", L"jdk1.8.0_251"}}, L"jdk1.8.0_251\\jre",
         L"jdk1.8.0_251\\jre\\bin\\server\\jvm.dll"},
        {"a stale key beside a good one",
         {{L"Software\\JavaSoft\\JDK\\17", nullptr}, {L"Software\\JavaSoft\\JDK\\11", L"jdk-11"}}, L"jdk-11",
         L"jdk-11\\bin\\server\\jvm.dll"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(kIni);
        const std::wstring jvmFolder = app.installRuntime(row.runtimeHome, TestRuntimeScenario{});
        RegistryKeys registry;
        for (const Key& key : row.keys) {
            registry.add(key.key, key.home != nullptr ? app.path(key.home) : app.path(L"gone"));
        }
        const RunResult result = app.run(L"x");
        ASSERT_FALSE(result.timedOut);
        EXPECT_TRUE(result.dialogs.empty());
        EXPECT_EQ(result.exitCode, 0u);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        EXPECT_EQ(log.value("dll"), utf8(app.path(row.loaded)));
        EXPECT_EQ(mainArguments(log), std::vector<std::string>{"x"});
    }
}

TEST(RegistryRuntime, OnlyThe32BitViewHasOneTheCompanionRunsIt)
{
    struct Row {
        const char* name;
        std::wstring pairKeys;
        DWORD exitCode;
        bool companionRuns;
    };
    const Row rows[] = {
        {"waiting for the companion's exit code", L"Pair Product=x86\\App32.exe\nPair Return Code=Yes\n", 3, true},
        {"not waiting", L"Pair Product=x86\\App32.exe\n", 0, true},
        {"a companion that cannot start", L"Pair Product=Missing.exe\nPair Return Code=Yes\n", 0xFFFFFFFFu, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(std::wstring(kIni) + L"[Application]\n" + row.pairKeys);
        // The 32-bit runtime is only registered: this launcher never loads it.
        app.createFolder(L"jre32\\bin\\server");
        app.writeBytes(L"jre32\\bin\\server\\jvm.dll", "not loaded");
        RegistryKeys registry;
        registry.add(L"Software\\JavaSoft\\JRE\\1.8.0_251", app.path(L"jre32"), true);
        // The companion: another copy of the launcher, with a runtime beside it.
        app.createFolder(L"x86");
        app.installLauncher(L"x86\\App32.exe");
        app.writeText(L"x86\\App32.ini", kIni);
        app.writeBytes(L"x86\\app.jar", "jar");
        TestRuntimeScenario runtime;
        runtime.exitCode = 3;
        const std::wstring companionJvm = app.installRuntime(L"x86", runtime);

        const RunResult result = app.run(L"first \"second argument\"");
        ASSERT_FALSE(result.timedOut);
        EXPECT_TRUE(result.dialogs.empty());
        EXPECT_EQ(result.exitCode, row.exitCode);
        bool ran = false;
        for (int i = 0; i < 100 && !ran; ++i) {
            ran = readTestRuntimeLog(companionJvm).has("system.exit");
            if (!ran) {
                ::Sleep(50);
            }
        }
        EXPECT_EQ(ran, row.companionRuns);
        if (row.companionRuns) {
            EXPECT_EQ(mainArguments(readTestRuntimeLog(companionJvm)),
                      (std::vector<std::string>{"first", "second argument"}));
        }
    }
}

TEST(RegistryRuntime, TodaysInstallersAndJavaHomeWhenAskedFor)
{
    struct Row {
        const char* name;
        const wchar_t* keys;         // lines of [Java Runtime Environment]
        bool adoptium;               // registered the way the Eclipse Adoptium installer does
        const char* javaHomeRelease; // JAVA_HOME names the runtime, with this release file; nullptr: unset
        bool starts;
    };
    const Row rows[] = {
        {"an Adoptium registration, searched", L"Search Vendor Runtimes=YES\n", true, nullptr, true},
        {"an Adoptium registration, not searched", L"", true, nullptr, false},
        {"JAVA_HOME in range", L"Use JAVA_HOME=yes\nMinimum Version=11\n", false, "JAVA_VERSION=\"17.0.9\"\n", true},
        {"JAVA_HOME below the range", L"Use JAVA_HOME=yes\nMinimum Version=11\n", false,
         "JAVA_VERSION=\"1.8.0_392\"\n", false},
        {"JAVA_HOME not asked for", L"", false, "JAVA_VERSION=\"17.0.9\"\n", false},
    };
    // An elevated launcher leaves JAVA_HOME alone.
    const bool javaHomeIgnored = testRunsElevated();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool starts = row.starts && !(row.javaHomeRelease != nullptr && javaHomeIgnored);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(std::wstring(L"[Java Runtime Environment]\nMain Class=app.Main\n") + row.keys +
                     L"[Class Path]\nClass Path=\\app.jar\n");
        const std::wstring jvmFolder = app.installRuntime(L"jdk-17", TestRuntimeScenario{});
        RegistryKeys registry;
        if (row.adoptium) {
            registry.add(L"SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI", app.path(L"jdk-17"), false,
                         L"Path");
        }
        if (row.javaHomeRelease != nullptr) {
            app.writeBytes(L"jdk-17\\release", row.javaHomeRelease);
            ::SetEnvironmentVariableW(L"JAVA_HOME", app.path(L"jdk-17").c_str());
        }
        const RunResult result = app.run(L"", 30000, [](const DialogInfo&) { return IDCANCEL; });
        ::SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, starts ? 0u : 0xFFFFFFFFu);
        EXPECT_EQ(result.dialogs.empty(), starts) << "the not-found dialog shows exactly when nothing is found";
        EXPECT_EQ(readTestRuntimeLog(jvmFolder).has("dll"), starts);
    }
}

TEST(RegistryRuntime, TheTraceSaysWhichRegisteredRuntimeWasChosenAndWhy)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nMinimum Version=11\n[Class Path]\nClass Path=\\app.jar\n");
    app.installRuntime(L"jdk-17", TestRuntimeScenario{});
    RegistryKeys registry;
    registry.add(L"Software\\JavaSoft\\JDK\\1.8", app.path(L"jdk-17"));
    registry.add(L"Software\\JavaSoft\\JDK\\17.0.2", app.path(L"jdk-17"));
    registry.add(L"Software\\JavaSoft\\JDK\\21", app.path(L"gone"));
    RunResult result;
    const std::string text = app.runTraced(result);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const std::string home = utf8(app.path(L"jdk-17")) + "\\";
    for (const std::string& line : {
             std::string("registry HKLM\\Software\\JavaSoft\\JDK\\1.8: version 1.8 out of range"),
             "registry HKLM\\Software\\JavaSoft\\JDK\\17.0.2: candidate 17.0.2 at " + home + ", server VM, preferred",
             "registry HKLM\\Software\\JavaSoft\\JDK\\21: no JVM library in " + utf8(app.path(L"gone")) + "\\",
             "runtime source registry, own view: chosen 17.0.2 at " + home,
             "JVM library: " + home + "bin\\server\\jvm.dll",
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << "no line \"" << line << "\" in:\n" << text;
    }
}

TEST(RegistryRuntime, ARuntimeInTheCurrentFolderIsNeverLoaded)
{
    AppScenario app;
    app.createFolder(L"App");
    app.installLauncher(L"App\\App.exe");
    app.writeText(L"App\\App.ini", kIni);
    // A jvm.dll (and its marker) lying in the folder the user starts from.
    app.createFolder(L"Downloads");
    const std::wstring planted = app.installRuntime(L"Downloads", TestRuntimeScenario{});
    ASSERT_FALSE(planted.empty());

    const RunResult result = runProcess(app.path(L"App\\App.exe"), L"\"" + app.path(L"App\\App.exe") + L"\"",
                                        app.path(L"Downloads"), 30000,
                                        [](const DialogInfo&) { return IDCANCEL; });
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu) << "no runtime: the start ends after saying so";
    EXPECT_FALSE(result.dialogs.empty());
    EXPECT_FALSE(readTestRuntimeLog(planted).has("dll")) << "the planted jvm.dll was loaded";
}

} // namespace
