// Single-instance coordination: a second start hands its arguments to the
// running instance's secondaryMain and ends with its answer. Each test has its
// own folder, hence its own executable path and its own shared objects.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "support/AppScenario.h"

namespace {

std::wstring iniWith(const std::wstring& applicationSection)
{
    return L"[Java Runtime Environment]\n"
           L"Main Class=app.Main\n"
           L"[Application]\n" +
           applicationSection;
}

// A primary started in the background, kept alive by a sleeping main.
class PrimaryRun {
public:
    PrimaryRun(const AppScenario& app, const std::wstring& jvmFolder)
        : jvmFolder_(jvmFolder), result_(std::async(std::launch::async, [&app] { return app.run(L"primary", 60000); }))
    {
    }

    // True once main has started (the primary is then ready for requests).
    bool waitUntilMainRuns() const
    {
        for (int i = 0; i < 300; ++i) {
            if (readTestRuntimeLog(jvmFolder_).has("main.argc")) {
                return true;
            }
            ::Sleep(50);
        }
        return false;
    }

    RunResult finish() { return result_.get(); }

private:
    std::wstring jvmFolder_;
    std::future<RunResult> result_;
};

struct Exchange {
    RunResult secondary;
    RunResult primary;
    TestRuntimeLog log;
};

Exchange exchange(const std::wstring& applicationSection, const TestRuntimeScenario& runtime,
                  const std::wstring& secondaryArguments)
{
    AppScenario app;
    app.writeIni(iniWith(applicationSection));
    const std::wstring jvmFolder = app.installRuntime(L"jre64", runtime);
    Exchange result;
    PrimaryRun primary(app, jvmFolder);
    EXPECT_TRUE(primary.waitUntilMainRuns()) << "the primary never reached main";
    result.secondary = app.run(secondaryArguments, 30000);
    result.primary = primary.finish();
    result.log = readTestRuntimeLog(jvmFolder);
    return result;
}

TEST(SingleInstance, SecondStartIsAnsweredBySecondaryMain)
{
    struct Row {
        const char* name;
        std::string form;
        int answer;
        std::wstring arguments;
        DWORD exitCode;
        std::vector<std::string> received;
    };
    const std::vector<Row> rows = {
        {"int form", "int", 7, L"one \"two words\"", 7u, {"one", "two words"}},
        {"negative int", "int", -5, L"x", static_cast<DWORD>(-5), {"x"}},
        {"void form", "void", 7, L"a b", 0u, {"a", "b"}},
        {"no arguments", "int", 3, L"", 3u, {""}},
        {"empty argument ends the list", "int", 1, L"a \"\" b", 1u, {"a"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestRuntimeScenario runtime;
        runtime.secondaryMain = row.form;
        runtime.secondaryResult = row.answer;
        runtime.sleepMillis = 2500;
        const Exchange run = exchange(L"Single Instance=yes\n", runtime, row.arguments);
        ASSERT_FALSE(run.secondary.timedOut);
        EXPECT_EQ(run.secondary.exitCode, row.exitCode);
        EXPECT_TRUE(run.secondary.dialogs.empty());
        EXPECT_EQ(run.primary.exitCode, 0u);
        // Only the primary created a VM; its secondaryMain got the list.
        EXPECT_EQ(run.log.values("create.result").size(), 1u);
        EXPECT_EQ(run.log.values("secondary.arg"), row.received);
        EXPECT_TRUE(run.log.has("detach"));
        EXPECT_EQ(run.log.values("error"), std::vector<std::string>{}) << "the launcher misused JNI";
    }
}

TEST(SingleInstance, TooManyArgumentCharactersEndTheSecondaryWithoutContact)
{
    TestRuntimeScenario runtime;
    runtime.secondaryMain = "int";
    runtime.secondaryResult = 7;
    runtime.sleepMillis = 1500;
    const std::wstring arguments = std::wstring(300, L'a') + L" " + std::wstring(300, L'b');
    const Exchange run = exchange(L"Single Instance=yes\n", runtime, arguments);
    ASSERT_FALSE(run.secondary.timedOut);
    EXPECT_EQ(run.secondary.exitCode, 0xFFFFFFFFu);
    EXPECT_TRUE(run.secondary.dialogs.empty());
    EXPECT_FALSE(run.log.has("secondary.argc"));
    EXPECT_EQ(run.log.values("create.result").size(), 1u);
}

TEST(SingleInstance, WithoutSecondaryMainTheSecondaryTakesThePrimaryExitCode)
{
    TestRuntimeScenario runtime;
    runtime.sleepMillis = 1500;
    runtime.exitCode = 5;
    const Exchange run = exchange(L"Single Instance=yes\n", runtime, L"x");
    ASSERT_FALSE(run.secondary.timedOut);
    EXPECT_EQ(run.primary.exitCode, 5u);
    EXPECT_EQ(run.secondary.exitCode, 5u);
    EXPECT_FALSE(run.log.has("secondary.argc"));
}

TEST(SingleInstance, SettingsThatDoNotCoordinateLetEveryStartRunItsOwnVm)
{
    const std::vector<std::wstring> sections = {
        L"Single Instance=Yes\n",
        L"Single Instance=yes\nApplication Type=service\n",
    };
    for (const std::wstring& section : sections) {
        SCOPED_TRACE(utf8(section));
        TestRuntimeScenario runtime;
        runtime.secondaryMain = "int";
        runtime.secondaryResult = 7;
        runtime.sleepMillis = 1500;
        const Exchange run = exchange(section, runtime, L"second");
        ASSERT_FALSE(run.secondary.timedOut);
        EXPECT_EQ(run.secondary.exitCode, 0u);
        EXPECT_EQ(run.log.values("create.result").size(), 2u);
        EXPECT_FALSE(run.log.has("secondary.argc"));
        EXPECT_EQ(mainArguments(run.log), (std::vector<std::string>{"primary", "second"}));
    }
}

} // namespace
