// How the configuration reaches a start: the file, its extension sections and
// the settings text embedded in the executable.
#include <gtest/gtest.h>

#include "support/AppScenario.h"

namespace {

// A launcher built with embedded settings: Main Class org.example.EmbeddedMain,
// the VM parameter -Dembedded.only=yes, JVM Type favor_server and the extra
// argument --from-embedded.
std::wstring embeddedLauncherPath()
{
    return buildPath(L"launcher_embedded_test.exe");
}

TEST(Configuration, EmbeddedSettingsAreDefaultsThatTheFileOverridesOrExtends)
{
    struct Row {
        const char* name;
        std::wstring ini;
        std::vector<std::string> userOptions;
        std::vector<std::string> arguments;
    };
    const std::wstring classPath = L"[Class Path]\nClass Path=\\app.jar\n";
    const Row rows[] = {
        {"embedded text alone", classPath, {"-Dembedded.only=yes"}, {"given", "--from-embedded"}},
        {"the file overrides", classPath + L"[Java Runtime Environment]\nVirtual Machine Parameters=-Dfile=yes\n",
         {"-Dfile=yes"}, {"given", "--from-embedded"}},
        {"an extension section extends", classPath + L"[Java Runtime Environment+]\nVirtual Machine Parameters=-Dextra=1\n"
                                                     L"[Application+]\nCmd=more\n",
         {"-Dembedded.only=yes", "-Dextra=1"}, {"given", "--from-embedded", "more"}},
        {"an empty file value does not hide the embedded one",
         classPath + L"[Java Runtime Environment]\nVirtual Machine Parameters=\n", {"-Dembedded.only=yes"},
         {"given", "--from-embedded"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Scenario scenario;
        scenario.installLauncher(L"App.exe", embeddedLauncherPath());
        scenario.writeBytes(L"app.jar", "jar");
        scenario.writeText(L"App.ini", row.ini);
        TestRuntimeScenario runtime;
        runtime.mainClass = "org/example/EmbeddedMain";
        const std::wstring jvm =
            installTestRuntime(AppScenario::runtimeBuildFolder(), TestRuntimeVariant::Standard, scenario.folder(), runtime);
        const std::wstring jvmFolder = jvm.substr(0, jvm.rfind(L'\\'));
        const RunResult result = scenario.run(L"given");
        ASSERT_FALSE(result.timedOut);
        EXPECT_TRUE(result.dialogs.empty());
        EXPECT_EQ(result.exitCode, 0u);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        std::vector<std::string> options = log.values("option");
        ASSERT_GE(options.size(), 3u);
        options.erase(options.begin());
        options.resize(options.size() - 2);
        EXPECT_EQ(options, row.userOptions);
        EXPECT_EQ(mainArguments(log), row.arguments);
    }
}

TEST(Configuration, MainClassOnlyInTheExtensionSectionKeepsItsLeadingSpace)
{
    // An extension value is appended after one space, even to nothing: the
    // start is not refused for a missing main class, but the class name then
    // begins with that space.
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment+]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
    ASSERT_EQ(result.messageTexts().size(), 1u);
    EXPECT_EQ(result.messageTexts()[0].rfind(L"Could not find the main class  app/Main.\n", 0), 0u);
    EXPECT_EQ(readTestRuntimeLog(jvmFolder).value("checkandloadmain"), "1 1  app.Main");
}

TEST(Configuration, UnicodeIniAndQuotedValues)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeUtf16(L"App.ini", L"[java runtime environment]\nmain class = \"app.Main\"\n"
                                L"Virtual Machine Parameters=-Dname=\u00e9t\u00e9\n[Class Path]\nClass Path=\\app.jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.dialogs.empty());
    const std::vector<std::string> options = readTestRuntimeLog(jvmFolder).values("option");
    ASSERT_EQ(options.size(), 4u);
    // Options reach the VM in the ANSI code page (Wine's default: 1252).
    EXPECT_EQ(options[1], "-Dname=\xE9t\xE9");
}

} // namespace
