// The console form (launcher-console.exe): the application's output on the
// inherited handles, every message as text on standard error, no window, and
// the application's exit code as the process's.
#include <gtest/gtest.h>

#include "support/AppScenario.h"

namespace {

TEST(ConsoleForm, TextsAndExitCodesInsteadOfWindows)
{
    TestRuntimeScenario exits;
    exits.outLines = {"written to System.out"};
    exits.errLines = {"written to System.err"};
    exits.exitCode = 3;
    TestRuntimeScenario throws;
    throws.throwMessage = "the application failed";
    const std::wstring ini = L"[Java Runtime Environment]\nMain Class=app.Main\nMinimum Version=1.8\n"
                             L"Download Page=https://example.com/java\n[Class Path]\nClass Path=\\app.jar\n";
    const struct Row {
        const char* name;
        TestRuntimeScenario runtime;
        std::wstring ini;
        DWORD exitCode;
        std::string output;  // found in standard output
        std::string error;   // found in standard error
        bool switchedCopy;   // the windowed launcher switched by the stamp tool
    } rows[] = {
        {"System.exit(3)", exits, ini, 3, "written to System.out", "written to System.err", false},
        {"switched copy, System.exit(3)", exits, ini, 3, "written to System.out", "written to System.err", true},
        {"uncaught exception, Failure Check", throws, ini + L"[Application]\nFailure Check=Yes\n", 1, "",
         "the application failed", false},
        // The runtime itself prints the exception when main's thread ends.
        {"uncaught exception", throws, ini, 1, "", "", false},
        {"no Main Class", {}, L"[Class Path]\nClass Path=\\app.jar\n", 0xFFFFFFFF, "",
         "Main class was not specified in INI file.\r\n", false},
        {"no runtime", {}, ini, 0xFFFFFFFF, "", "(minimum version 1.8) from: https://example.com/java\r\nSearched: ",
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Scenario app;
        const std::wstring tool = app.path(L"Tool.exe");
        if (row.switchedCopy) {
            const std::wstring stamp = buildPath(L"launcher-stamp.exe");
            runProcess(stamp, L"\"" + stamp + L"\" \"" + launcherPath() + L"\" \"" + tool + L"\" --subsystem console",
                       app.folder(), 30000, pressDefaultButton, true);
        } else {
            app.installLauncher(L"Tool.exe", buildPath(L"launcher-console.exe"));
        }
        app.writeText(L"Tool.ini", row.ini);
        app.writeBytes(L"app.jar", "jar");
        if (row.name != std::string("no runtime")) {
            installTestRuntime(AppScenario::runtimeBuildFolder(), TestRuntimeVariant::Standard, app.path(L"jre64"),
                               row.runtime, L"server");
        }
        const RunResult result =
            runProcess(tool, L"\"" + tool + L"\"", app.folder(), 30000, pressDefaultButton, true);
        EXPECT_FALSE(result.timedOut);
        EXPECT_TRUE(result.dialogs.empty()) << "a window appeared";
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_NE(result.standardOutput.find(row.output), std::string::npos) << result.standardOutput;
        EXPECT_NE(result.standardError.find(row.error), std::string::npos) << result.standardError;
    }
}

} // namespace
