// What a start that fails says, and the decision trace a deployer can ask for.
#include <gtest/gtest.h>

#include "support/AppScenario.h"

namespace {

const wchar_t* const kIni = kMinimalIni;

TEST(Diagnostics, TheRuntimeEndingTheStartBeforeMainIsExplainedInItsWords)
{
    struct Row {
        const char* name;
        bool beforeMain;       // the runtime's helper ends the process, else main does
        const wchar_t* keys;   // lines of [Application]
        bool box;
    };
    const Row rows[] = {
        {"before main", true, L"", true},
        {"before main, with an error file", true, L"Error File=err.log\n", true},
        {"before main, a service", true, L"Application Type=service\n", false},
        {"main ends the process itself", false, L"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(std::wstring(kIni) + L"[Application]\n" + row.keys);
        TestRuntimeScenario runtime;
        if (row.beforeMain) {
            runtime.mainClass = "app/Other";  // the helper cannot find app.Main
            runtime.prestartErrLines = {"Caused by: java.lang.ClassNotFoundException: app.Main"};
            runtime.prestartExitCode = 7;
        } else {
            runtime.errLines = {"written by main"};
            runtime.exitCode = 7;
        }
        const std::wstring jvmFolder = app.installRuntime(L"", runtime);
        const RunResult result = app.run();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 7u) << "the runtime's exit code stays";
        ASSERT_EQ(result.messageTexts().size(), row.box ? 1u : 0u);
        if (row.box) {
            const std::wstring box = result.messageTexts()[0];
            EXPECT_EQ(box.rfind(L"The application could not be started.\nMain class: app.Main\nJava runtime: " +
                                    app.folder() + L"\n\n",
                                0),
                      0u)
                << utf8(box);
            EXPECT_NE(box.find(L"Caused by: java.lang.ClassNotFoundException: app.Main"), std::wstring::npos)
                << utf8(box);
        }
        if (std::wstring(row.keys).find(L"Error File") != std::wstring::npos) {
            EXPECT_NE(app.readBytes(L"err.log").find("ClassNotFoundException: app.Main"), std::string::npos);
        }
        EXPECT_EQ(readTestRuntimeLog(jvmFolder).values("error"), std::vector<std::string>{});
    }
}

// The trace of one start; the runtime-not-found dialog is cancelled.
std::string tracedStart(const AppScenario& app)
{
    RunResult result;
    const std::string trace = app.runTraced(result, [](const DialogInfo&) { return IDCANCEL; });
    EXPECT_FALSE(result.timedOut);
    return trace;
}

TEST(Diagnostics, TheTraceNamesEveryDecision)
{
    {
        SCOPED_TRACE("a typical start");
        AppScenario app;
        app.createFolder(L"lib");
        app.writeBytes(L"lib\\a.jar", "jar");
        app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nVirtual Machine Parameters=-Xmx64m\n"
                     L"[Class Path]\nClass Path=\\lib\\*.jar\n");
        app.installRuntime(L"jre64", TestRuntimeScenario{});
        const std::string trace = tracedStart(app);
        const std::string folder = utf8(app.folder());
        for (const std::string& line : {
                 "configuration file " + folder + "\\App.ini",
                 std::string("setting [Java Runtime Environment] Main Class = app.Main"),
                 "runtime source beside the launcher " + folder + "\\jre64\\: " + folder +
                     "\\jre64\\bin\\server\\jvm.dll",
                 "class path entry \\lib\\*.jar: matches " + folder + "\\lib\\a.jar",
                 std::string("VM option: -Xmx64m"),
                 std::string("JNI_CreateJavaVM returned 0"),
                 std::string("main class app/Main loaded by the runtime's launcher helper"),
                 std::string("main begins"),
                 std::string("exit code 0"),
             }) {
            EXPECT_NE(trace.find(line), std::string::npos) << "no line \"" << line << "\" in:\n" << trace;
        }
    }
    {
        SCOPED_TRACE("nothing found");
        AppScenario app;
        app.writeIni(kIni);
        const std::string trace = tracedStart(app);
        for (const char* line : {"runtime source beside the launcher: no bin\\java.dll",
                                 "runtime source registry, own view: nothing found",
                                 "runtime source the user: the runtime-not-found dialog",
                                 "no runtime chosen: the start ends", "exit code -1"}) {
            EXPECT_NE(trace.find(line), std::string::npos) << "no line \"" << line << "\" in:\n" << trace;
        }
    }
}

} // namespace
