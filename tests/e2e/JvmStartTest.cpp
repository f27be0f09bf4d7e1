// Whole starts of a configured application on the test runtime: runtime
// folders, options, VM creation, main class, exit codes and messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/AppScenario.h"

namespace {

const wchar_t kBasicIni[] =
    L"[Java Runtime Environment]\n"
    L"Main Class=app.Main\n"
    L"[Class Path]\n"
    L"Class Path=\\lib\\app.jar\n";

std::wstring environmentValue(const wchar_t* name)
{
    std::wstring value(32767, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, value.data(), 32767);
    value.resize(length < 32767 ? length : 0);
    return value;
}

TEST(JvmStart, TypicalStartRunsMainWithTheArgumentsAndExitsWithZero)
{
    AppScenario app;
    app.createFolder(L"lib");
    app.writeBytes(L"lib\\app.jar", "jar");
    app.writeIni(kBasicIni);
    const std::wstring jvmFolder = app.installRuntime(L"jre64", TestRuntimeScenario{});
    ASSERT_FALSE(jvmFolder.empty());

    const RunResult result = app.run(L"first \"second argument\" -nosplash");
    ASSERT_FALSE(result.timedOut);
    EXPECT_TRUE(result.dialogs.empty()) << "unexpected box: " << utf8(result.messageTexts().empty() ? L"" : result.messageTexts()[0]);
    EXPECT_EQ(result.exitCode, 0u);

    const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
    EXPECT_EQ(mainArguments(log), (std::vector<std::string>{"first", "second argument", "-nosplash"}));
    EXPECT_EQ(log.value("create.version"), "0x00010002");
    EXPECT_EQ(log.value("create.ignoreUnrecognized"), "0");
    const std::vector<std::string> options = log.values("option");
    ASSERT_EQ(options.size(), 3u);
    EXPECT_EQ(options[0], "-Djava.class.path=" + utf8(app.path(L"lib\\app.jar")));
    EXPECT_EQ(options[1], "abort");
    EXPECT_EQ(options[2], "exit");
    EXPECT_EQ(log.values("extrainfo").size(), 2u);
    // The main class came through the runtime's launcher helper, in dotted form.
    EXPECT_EQ(log.value("checkandloadmain"), "1 1 app.Main");
    // main ran on the VM thread, not on the thread that destroyed the VM.
    EXPECT_EQ(log.value("create.thread"), log.value("main.thread"));
    EXPECT_TRUE(log.has("detach"));
    EXPECT_TRUE(log.has("destroy.done"));
    EXPECT_NE(log.value("destroy"), log.value("create.thread"));
    EXPECT_EQ(log.values("error"), std::vector<std::string>{}) << "the launcher misused JNI";
}

TEST(JvmStart, OptionsComeInTheirOrderWithClassPathFormsAndParameters)
{
    AppScenario app;
    app.createFolder(L"lib");
    app.createFolder(L"native");
    app.writeBytes(L"lib\\a.jar", "a");
    app.writeBytes(L"lib\\b.jar", "b");
    app.writeBytes(L"top.jar", "t");
    ::SetEnvironmentVariableW(L"LAUNCHER_E2E_VALUE", L"from the environment");
    app.writeIni(
        L"[Java Runtime Environment]\n"
        L"Main Class=app.Main\n"
        L"Library Path=native\n"
        L"Virtual Machine Parameters=-Xmx512m  -Dx=\"a b\" -Dhome=%LAUNCHER_E2E_VALUE% -Dundefined=%LAUNCHER_E2E_UNDEFINED%\n"
        L"[Class Path]\n"
        L"Class Path=\\lib\\*.jar;C:\\absent\\x.jar;\\missing.jar;\\top.jar;\\\\server\\share\\n.jar\n"
        L"[Application]\n"
        L"Embedded Jar=yes\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run();
    ::SetEnvironmentVariableW(L"LAUNCHER_E2E_VALUE", nullptr);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.dialogs.empty());

    const std::vector<std::string> options = readTestRuntimeLog(jvmFolder).values("option");
    ASSERT_EQ(options.size(), 8u);
    const std::string folder = utf8(app.folder());
    EXPECT_EQ(options[0], "-Djava.library.path=native;" + folder + "\\;.;" + utf8(environmentValue(L"Path")) + ";" +
                              folder + "\\lib");

    // Embedded jar first, the wildcard's matches in file-system order, the
    // absolute and network entries unchanged, missing relative entries gone.
    const std::string classPath = options[1];
    const std::string prefix = "-Djava.class.path=" + folder + "\\App.exe;";
    ASSERT_EQ(classPath.substr(0, prefix.size()), prefix);
    std::string rest = classPath.substr(prefix.size());
    const std::string a = folder + "\\lib\\a.jar;";
    const std::string b = folder + "\\lib\\b.jar;";
    const std::string wildcard = rest.substr(0, a.size() + b.size());
    EXPECT_TRUE(wildcard == a + b || wildcard == b + a) << wildcard;
    EXPECT_EQ(rest.substr(wildcard.size()), "C:\\absent\\x.jar;" + folder + "\\top.jar;\\\\server\\share\\n.jar");

    EXPECT_EQ(options[2], "-Xmx512m");
    EXPECT_EQ(options[3], "-Dx=a b");
    EXPECT_EQ(options[4], "-Dhome=from the environment");
    EXPECT_EQ(options[5], "-Dundefined=%LAUNCHER_E2E_UNDEFINED%");
    EXPECT_EQ(options[6], "abort");
    EXPECT_EQ(options[7], "exit");
    EXPECT_EQ(readTestRuntimeLog(jvmFolder).values("error"), std::vector<std::string>{});
}

TEST(JvmStart, PercentageHeapFollowsTheMachinesMemory)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(
        L"[Java Runtime Environment]\n"
        L"Main Class=app.Main\n"
        L"Virtual Machine Parameters=-Xmx50P -Xms1:512P -Xmx50:0:64p\n"
        L"[Class Path]\n"
        L"Class Path=\\app.jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    MEMORYSTATUS memory{};
    memory.dwLength = sizeof memory;
    ::GlobalMemoryStatus(&memory);
    const unsigned long long halfKb = static_cast<unsigned long long>((memory.dwTotalPhys >> 10) * 0.5);
    const std::vector<std::string> options = readTestRuntimeLog(jvmFolder).values("option");
    ASSERT_EQ(options.size(), 6u);
    EXPECT_EQ(options[1], "-Xmx" + std::to_string(halfKb) + "K");
    EXPECT_EQ(options[2], "-Xms524288K");
    EXPECT_EQ(options[3], "-Xmx65536K");
}

TEST(JvmStart, StackSizeOfTheVmThread)
{
    struct Row {
        const char* name;
        std::wstring parameters;
        std::int32_t runtimeDefault;
        bool defaultAsked;
        unsigned long long minimumStack;
    };
    const Row rows[] = {
        {"-Xss sets it without asking the runtime", L"-Xss16m", 1 << 20, false, 16ull << 20},
        {"the runtime's default", L"", 12 << 20, true, 12ull << 20},
        {"a default of 0 leaves the executable's own", L"", 0, true, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nVirtual Machine Parameters=" + row.parameters +
                     L"\n[Class Path]\nClass Path=\\app.jar\n");
        TestRuntimeScenario runtime;
        runtime.defaultStackSize = row.runtimeDefault;
        const std::wstring jvmFolder = app.installRuntime(L"", runtime);
        const RunResult result = app.run();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        EXPECT_EQ(log.has("getdefault"), row.defaultAsked);
        if (row.defaultAsked) {
            EXPECT_EQ(log.value("getdefault"), "0x00010001");
        }
        EXPECT_GE(std::stoull(log.value("create.stack")), row.minimumStack);
    }
}

TEST(JvmStart, ExitCodesOfTheJavaProgram)
{
    struct Row {
        const char* name;
        TestRuntimeScenario runtime;
        DWORD exitCode;
    };
    TestRuntimeScenario exits;
    exits.exitCode = 3;
    TestRuntimeScenario waits;
    waits.threadMillis = 1500;
    TestRuntimeScenario throws;
    throws.throwMessage = "broken";
    TestRuntimeScenario throwsThenThreadExits = throws;
    throwsThenThreadExits.threadMillis = 500;
    throwsThenThreadExits.threadExitCode = 4;
    const Row rows[] = {
        {"System.exit(3)", exits, 3},
        {"main returns while a non-daemon thread runs", waits, 0},
        {"main throws and no check is configured", throws, 1},
        {"main throws, then a thread calls System.exit(4)", throwsThenThreadExits, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n");
        const std::wstring jvmFolder = app.installRuntime(L"", row.runtime);
        const RunResult result = app.run();
        ASSERT_FALSE(result.timedOut);
        EXPECT_TRUE(result.dialogs.empty());
        EXPECT_EQ(result.exitCode, row.exitCode);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        if (row.runtime.exitCode) {
            EXPECT_EQ(log.value("exithook"), std::to_string(*row.runtime.exitCode));
        }
        if (row.runtime.threadMillis != 0 && !row.runtime.threadExitCode) {
            // The process lived until the thread ended: the VM's destruction waited.
            const auto& entries = log.entries;
            const auto end = std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e.first == "thread.end"; });
            const auto done = std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e.first == "destroy.done"; });
            ASSERT_NE(end, entries.end());
            ASSERT_NE(done, entries.end());
            EXPECT_LT(end - entries.begin(), done - entries.begin());
        }
    }
}

TEST(JvmStart, UnicodeArgumentsReachMainUnchanged)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const std::wstring greek = L"\u03b1\u03b2\u03b3";
    const std::wstring cjk = L"\u65e5\u672c\u8a9e";
    const std::wstring emoji = L"\U0001F600";
    const RunResult result = app.run(greek + L" \"" + cjk + L" " + emoji + L"\" Gr\u00fc\u00dfe");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(mainArguments(readTestRuntimeLog(jvmFolder)),
              (std::vector<std::string>{utf8(greek), utf8(cjk + L" " + emoji), utf8(L"Gr\u00fc\u00dfe")}));
}

TEST(JvmStart, ConfiguredRuntimeFolderAndItsFallback)
{
    // "JRE Path" names a runtime elsewhere: it wins over the one beside.
    {
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        const std::wstring beside = app.installRuntime(L"", TestRuntimeScenario{});
        const std::wstring configured = app.installRuntime(L"configured", TestRuntimeScenario{}, TestRuntimeVariant::Standard, L"client");
        app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nJRE Path=" + app.path(L"configured") +
                     L"\n[Class Path]\nClass Path=\\app.jar\n");
        const RunResult result = app.run();
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(readTestRuntimeLog(configured).has("create.result"));
        EXPECT_FALSE(readTestRuntimeLog(beside).has("create.result"));
    }
    // "JRE Path" pointing at nothing falls through to the folder beside.
    {
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        const std::wstring beside = app.installRuntime(L"", TestRuntimeScenario{});
        app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nJRE Path=C:\\no\\such\\runtime\n"
                     L"[Class Path]\nClass Path=\\app.jar\n");
        const RunResult result = app.run();
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(readTestRuntimeLog(beside).has("create.result"));
    }
}

TEST(JvmStart, EnvironmentForTheRuntime)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nSystem Path=C:\\Tools\n"
                 L"[Class Path]\nClass Path=\\app.jar\n");
    TestRuntimeScenario runtime;
    runtime.environment = {"ZQ_JVM_PATH", "ZQ_JVM_HOME", "Path"};
    const std::wstring jvmFolder = app.installRuntime(L"jre64", runtime);
    const RunResult result = app.run();
    EXPECT_EQ(result.exitCode, 0u);
    const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
    EXPECT_EQ(log.value("env.ZQ_JVM_PATH"), utf8(app.path(L"jre64\\bin\\server\\jvm.dll")));
    EXPECT_EQ(log.value("env.ZQ_JVM_HOME"), utf8(app.path(L"jre64")));
    EXPECT_EQ(log.value("env.Path"), "C:\\Tools;" + utf8(environmentValue(L"Path")) + ";" + utf8(app.path(L"jre64\\bin")));
}

} // namespace

namespace {

TEST(JvmStart, ServiceDestroysItsVmOnTheVmThread)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n"
                 L"[Application]\nApplication Type=service\n");
    TestRuntimeScenario runtime;
    runtime.threadMillis = 500;
    const std::wstring jvmFolder = app.installRuntime(L"", runtime);
    const RunResult result = app.run();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
    EXPECT_EQ(log.value("destroy"), log.value("create.thread"));
    EXPECT_EQ(log.values("destroy").size(), 1u) << "destroyed once, not again at shutdown";
}

TEST(JvmStart, WithIbmRuntimesAdmittedTheProcessOutlivesMain)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nVM Provider=any\n"
                 L"[Class Path]\nClass Path=\\app.jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run(std::wstring(), 4000);
    EXPECT_TRUE(result.timedOut) << "the process ended with " << result.exitCode;
    const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
    EXPECT_EQ(log.value("main.argc"), "0");
    EXPECT_FALSE(log.has("detach"));
    EXPECT_FALSE(log.has("destroy"));
}

} // namespace

namespace {

TEST(JvmStart, ClassPathsBeyondThePlatformExpansionLimitStayWhole)
{
    AppScenario app;
    app.createFolder(L"lib");
    const int jars = 2500;
    for (int i = 0; i < jars; ++i) {
        app.writeBytes(L"lib\\library-with-a-long-name-" + std::to_wstring(i) + L".jar", "j");
    }
    ::SetEnvironmentVariableW(L"LAUNCHER_E2E_LIB", L"lib");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\%LAUNCHER_E2E_LIB%\\*.jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run(std::wstring(), 60000);
    ::SetEnvironmentVariableW(L"LAUNCHER_E2E_LIB", nullptr);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const std::string classPath = readTestRuntimeLog(jvmFolder).value("option");
    EXPECT_GT(classPath.size(), 40000u);
    EXPECT_EQ(std::count(classPath.begin(), classPath.end(), ';'), jars - 1);
    EXPECT_EQ(classPath.substr(classPath.size() - 4), ".jar");
}

} // namespace
