// A 32-bit runtime handed to the companion launcher named by "Pair Product".
#include <gtest/gtest.h>

#include "support/AppScenario.h"

namespace {

// App.exe is configured with a 32-bit runtime; App32.exe (another copy of the
// launcher) has the test runtime beside it, whose main ends with System.exit(3).
std::wstring layOut(const AppScenario& app, const std::wstring& pairKeys)
{
    app.createFolder(L"jre32\\bin\\server");
    EXPECT_TRUE(writePeHeaderFile(app.path(L"jre32\\bin\\server\\jvm.dll"), 0x014C));
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nJRE Path=" + app.path(L"jre32") +
                 L"\n[Class Path]\nClass Path=\\app.jar\n[Application]\n" + pairKeys);
    app.installLauncher(L"App32.exe");
    app.writeText(L"App32.ini", L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n");
    TestRuntimeScenario runtime;
    runtime.exitCode = 3;
    return app.installRuntime(L"", runtime);
}

TEST(PairRelaunch, TheCompanionGetsTheCommandLineAndItsExitCodeWhenAskedFor)
{
    AppScenario app;
    const std::wstring jvmFolder = layOut(app, L"Pair Product=App32.exe\nPair Return Code=YES\n");
    const RunResult result = app.run(L"first \"second argument\"");
    ASSERT_FALSE(result.timedOut);
    EXPECT_TRUE(result.dialogs.empty());
    EXPECT_EQ(result.exitCode, 3u);
    const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
    EXPECT_EQ(mainArguments(log), (std::vector<std::string>{"first", "second argument"}));
    EXPECT_EQ(log.value("dll"), utf8(app.path(L"bin\\server\\jvm.dll")));
}

TEST(PairRelaunch, WithoutReturnCodeTheStartEndsWithZeroAndWithoutCompanionWithMinusOne)
{
    struct Row {
        const char* name;
        std::wstring pairKeys;
        bool companionRuns;
        DWORD exitCode;
    };
    const Row rows[] = {
        {"no wait for the companion", L"Pair Product=App32.exe\n", true, 0},
        // Nothing ran: reporting success would tell a script the application did.
        {"a companion that does not exist", L"Pair Product=Missing.exe\nPair Return Code=yes\n", false, 0xFFFFFFFFu},
        {"a companion that does not exist, no wait", L"Pair Product=Missing.exe\n", false, 0xFFFFFFFFu},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        const std::wstring jvmFolder = layOut(app, row.pairKeys);
        const RunResult result = app.run(L"x");
        ASSERT_FALSE(result.timedOut);
        EXPECT_TRUE(result.dialogs.empty());
        EXPECT_EQ(result.exitCode, row.exitCode);
        // The companion runs on by itself; give it time to get to main.
        bool ran = false;
        for (int i = 0; i < 100 && !ran; ++i) {
            ran = readTestRuntimeLog(jvmFolder).has("system.exit");
            if (!ran) {
                ::Sleep(50);
            }
        }
        EXPECT_EQ(ran, row.companionRuns);
    }
}

} // namespace
