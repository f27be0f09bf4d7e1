// Single-instance coordination: a second start hands its arguments to the
// running instance's secondaryMain and ends with its answer. Each test has its
// own folder, hence its own executable path and its own shared objects.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "instance/SharedBlock.h"
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

    // True once the primary has created the shared block (it may still be
    // setting up its listener).
    static bool waitUntilBlockExists(const AppScenario& app)
    {
        const std::wstring name = sharedObjectName(app.path(L"App.exe"));
        for (int i = 0; i < 3000; ++i) {
            if (HANDLE mapping = ::OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str())) {
                ::CloseHandle(mapping);
                return true;
            }
            ::Sleep(5);
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

// A primary, then a second start once the primary's main runs (or as soon as
// the primary has created the shared block).
Exchange exchange(const std::wstring& applicationSection, const TestRuntimeScenario& runtime,
                  const std::wstring& secondaryArguments, bool waitForMain = true)
{
    AppScenario app;
    app.writeIni(iniWith(applicationSection));
    const std::wstring jvmFolder = app.installRuntime(L"jre64", runtime);
    Exchange result;
    PrimaryRun primary(app, jvmFolder);
    if (waitForMain) {
        EXPECT_TRUE(primary.waitUntilMainRuns()) << "the primary never reached main";
    } else {
        EXPECT_TRUE(PrimaryRun::waitUntilBlockExists(app)) << "the primary never set up";
    }
    result.secondary = app.run(secondaryArguments, 30000);
    result.primary = primary.finish();
    result.log = readTestRuntimeLog(jvmFolder);
    return result;
}

// The position of the first entry of `key` at or after `from`; -1 when none.
long positionOf(const TestRuntimeLog& log, const std::string& key, long from = 0)
{
    for (std::size_t i = static_cast<std::size_t>(from); i < log.entries.size(); ++i) {
        if (log.entries[i].first == key) {
            return static_cast<long>(i);
        }
    }
    return -1;
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
        bool mainReturns;   // main returns at once; a non-daemon thread keeps the application up
        bool waitForMain;   // the second start comes once main runs, or right after the first
    };
    const std::vector<Row> rows = {
        {"int form", "int", 7, L"one \"two words\"", 7u, {"one", "two words"}, false, true},
        {"negative int", "int", -5, L"x", static_cast<DWORD>(-5), {"x"}, false, true},
        {"void form", "void", 7, L"a b", 0u, {"a", "b"}, false, true},
        {"no arguments", "int", 3, L"", 3u, {""}, false, true},
        {"empty argument ends the list", "int", 1, L"a \"\" b", 1u, {"a"}, false, true},
        {"second start right after the first", "int", 4, L"early", 4u, {"early"}, false, false},
        {"while the VM's destruction waits for a thread", "int", 6, L"late", 6u, {"late"}, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestRuntimeScenario runtime;
        runtime.secondaryMain = row.form;
        runtime.secondaryResult = row.answer;
        (row.mainReturns ? runtime.threadMillis : runtime.sleepMillis) = 2500;
        const Exchange run = exchange(L"Single Instance=yes\n", runtime, row.arguments, row.waitForMain);
        ASSERT_FALSE(run.secondary.timedOut);
        EXPECT_EQ(run.secondary.exitCode, row.exitCode);
        EXPECT_TRUE(run.secondary.dialogs.empty());
        EXPECT_EQ(run.primary.exitCode, 0u);
        // Only the primary created a VM; its secondaryMain got the list.
        EXPECT_EQ(run.log.values("create.result").size(), 1u);
        EXPECT_EQ(run.log.values("secondary.arg"), row.received);
        EXPECT_TRUE(run.log.has("detach"));
        EXPECT_EQ(run.log.values("error"), std::vector<std::string>{}) << "the launcher misused JNI";
        // The listener joined the VM once, before its destruction began, and
        // nothing attached while it was destroyed.
        const long destroy = positionOf(run.log, "destroy");
        ASSERT_GE(destroy, 0);
        EXPECT_EQ(run.log.values("attach.daemon").size(), 1u);
        EXPECT_LT(positionOf(run.log, "attach.daemon"), destroy);
        EXPECT_EQ(positionOf(run.log, "attach", destroy), -1);
        EXPECT_EQ(positionOf(run.log, "attach.daemon", destroy), -1);
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

TEST(SingleInstance, UnansweredSecondStartsTakeThePrimaryExitCode)
{
    struct Row {
        const char* name;
        int exitCode;
        int secondaries;  // started one after another while the primary runs
    };
    const Row rows[] = {
        {"one waiting start", 5, 1},
        {"an exit code that reads like a running process", 259, 1},
        // The second waits for the first one's turn, then for the primary.
        {"two waiting starts", 5, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeIni(iniWith(L"Single Instance=yes\n"));
        TestRuntimeScenario runtime;
        runtime.sleepMillis = 3000;
        runtime.exitCode = row.exitCode;
        const std::wstring jvmFolder = app.installRuntime(L"jre64", runtime);
        PrimaryRun primary(app, jvmFolder);
        ASSERT_TRUE(primary.waitUntilMainRuns());
        std::vector<std::future<RunResult>> secondaries;
        for (int i = 0; i < row.secondaries; ++i) {
            secondaries.push_back(std::async(std::launch::async, [&app] { return app.run(L"x", 30000); }));
            ::Sleep(500);
        }
        EXPECT_EQ(primary.finish().exitCode, static_cast<DWORD>(row.exitCode));
        for (std::future<RunResult>& secondary : secondaries) {
            const RunResult result = secondary.get();
            ASSERT_FALSE(result.timedOut);
            EXPECT_EQ(result.exitCode, static_cast<DWORD>(row.exitCode));
        }
        EXPECT_FALSE(readTestRuntimeLog(jvmFolder).has("secondary.argc"));
    }
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

// This test program publishes itself as the primary: its process id, and this
// thread (given a message queue) as the listener. The later start must not
// hand its arguments to another executable; it runs its own VM instead.
TEST(SingleInstance, APrimaryThatRunsAnotherExecutableGetsNoArguments)
{
    AppScenario app;
    app.writeIni(iniWith(L"Single Instance=yes\n"));
    const std::wstring jvmFolder = app.installRuntime(L"jre64", TestRuntimeScenario{});
    HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedBlockSize,
                                          sharedObjectName(app.path(L"App.exe")).c_str());
    ASSERT_NE(mapping, nullptr);
    auto* block = static_cast<unsigned char*>(::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kSharedBlockSize));
    MSG message{};
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    writeBlockUint32(block, kPrimaryProcessIdOffset, ::GetCurrentProcessId());
    writeBlockUint32(block, kRequestMessageIdOffset, WM_APP);
    writeBlockUint32(block, kListenerThreadIdOffset, ::GetCurrentThreadId());
    const RunResult result = app.run(L"second");
    const bool posted = ::PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE) != FALSE;
    ::UnmapViewOfFile(block);
    ::CloseHandle(mapping);
    EXPECT_FALSE(posted) << "the arguments went to another executable";
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(mainArguments(readTestRuntimeLog(jvmFolder)), std::vector<std::string>{"second"});
}

} // namespace
