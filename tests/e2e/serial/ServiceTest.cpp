// The launcher registered as a Windows service and driven by Wine's service
// manager: started with parameters, running once main is called, stopped
// through the configured stop sequence, and a failing start reported. Every
// service a test creates is deleted when the test ends, whatever it asserted.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "support/AppScenario.h"
#include "support/HotSpotScenario.h"

namespace {

// A service of the test prefix, named after the test, running `commandLine`;
// stopped (when still running) and deleted when it goes.
class TestService {
public:
    explicit TestService(const std::wstring& commandLine)
    {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::wstring name = L"LauncherTest" + std::wstring(test.begin(), test.end());
        service_ = ::CreateServiceW(manager_, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                    SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, commandLine.c_str(), nullptr, nullptr,
                                    nullptr, nullptr, nullptr);
    }
    ~TestService()
    {
        SERVICE_STATUS status{};
        if (service_ != nullptr && ::ControlService(service_, SERVICE_CONTROL_STOP, &status)) {
            waitFor(SERVICE_STOPPED, 10000);
        }
        ::DeleteService(service_);
        ::CloseServiceHandle(service_);
        ::CloseServiceHandle(manager_);
    }
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;

    SC_HANDLE get() const { return service_; }

    SERVICE_STATUS_PROCESS status() const
    {
        SERVICE_STATUS_PROCESS status{};
        DWORD size = 0;
        ::QueryServiceStatusEx(service_, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                               &size);
        return status;
    }

    // Polls until the service is in `state`, handing every status seen to
    // `onPoll`; false when the time ran out.
    bool waitFor(DWORD state, DWORD timeoutMs,
                 const std::function<void(const SERVICE_STATUS_PROCESS&)>& onPoll = nullptr) const
    {
        for (const ULONGLONG end = ::GetTickCount64() + timeoutMs;; ::Sleep(20)) {
            const SERVICE_STATUS_PROCESS current = status();
            if (onPoll) {
                onPoll(current);
            }
            if (current.dwCurrentState == state || ::GetTickCount64() > end) {
                return current.dwCurrentState == state;
            }
        }
    }

private:
    SC_HANDLE manager_ = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service_ = nullptr;
};

// The launcher of `app` as a service, started with `parameters`.
std::unique_ptr<TestService> startService(const Scenario& app, std::vector<const wchar_t*> parameters = {},
                                          const std::wstring& arguments = L"")
{
    auto service = std::make_unique<TestService>(L"\"" + app.path(L"App.exe") + L"\" " + arguments);
    EXPECT_NE(service->get(), nullptr) << ::GetLastError();
    EXPECT_TRUE(::StartServiceW(service->get(), static_cast<DWORD>(parameters.size()), parameters.data()));
    return service;
}

bool requestStop(const TestService& service)
{
    SERVICE_STATUS status{};
    return ::ControlService(service.get(), SERVICE_CONTROL_STOP, &status) != FALSE;
}

// The exit code the service manager holds for a stopped service: 0, or the
// application's code as a service-specific one.
std::int64_t reportedExitCode(const SERVICE_STATUS_PROCESS& status)
{
    if (status.dwWin32ExitCode == NO_ERROR) {
        return 0;
    }
    EXPECT_EQ(status.dwWin32ExitCode, static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR));
    return static_cast<std::int32_t>(status.dwServiceSpecificExitCode);
}

const wchar_t* const kServiceIni =
    L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n"
    L"[Application]\nApplication Type=service\nOverride WorkingDir=Yes\n";

TEST(Service, RunsOnceMainIsCalledWithTheStartParametersAfterTheArguments)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(kServiceIni);
    TestRuntimeScenario runtime;
    runtime.createDelayMillis = 1500;
    runtime.mainUntilStop = true;
    const std::wstring jvm = app.installRuntime(L"", runtime);
    const auto service = startService(app, {L"a", L"b c"}, L"\"from the command line\"");

    bool sawStartPending = false;
    // Whether main had been called before this status was read: the log is
    // read after each status, so a status still pending after that is wrong.
    bool mainCalledBefore = false;
    ASSERT_TRUE(service->waitFor(SERVICE_RUNNING, 20000, [&](const SERVICE_STATUS_PROCESS& status) {
        if (status.dwCurrentState == SERVICE_START_PENDING) {
            sawStartPending = true;
            EXPECT_NE(status.dwWaitHint, 0u);
            EXPECT_FALSE(mainCalledBefore) << "start pending after main was called";
        }
        mainCalledBefore = readTestRuntimeLog(jvm).has("main.thread");
    }));
    EXPECT_TRUE(sawStartPending);
    // Running is reported as main is called: the method was found by then.
    const std::vector<std::string> lookups = readTestRuntimeLog(jvm).values("staticmethod");
    EXPECT_NE(std::find(lookups.begin(), lookups.end(), "app/Main main ([Ljava/lang/String;)V"), lookups.end());
    for (int wait = 0; wait < 100 && !readTestRuntimeLog(jvm).has("main.argc"); ++wait) {
        ::Sleep(50);
    }
    const TestRuntimeLog log = readTestRuntimeLog(jvm);
    EXPECT_EQ(mainArguments(log), (std::vector<std::string>{"from the command line", "a", "b c"}));
    EXPECT_EQ(service->status().dwControlsAccepted & SERVICE_ACCEPT_STOP, static_cast<DWORD>(SERVICE_ACCEPT_STOP));
    EXPECT_FALSE(log.has("error"));
}

TEST(Service, StopRunsTheStopSequenceAndReportsTheApplicationsExitCode)
{
    struct Row {
        const char* name;
        const wchar_t* keys;  // more of section [Application]
        std::string stopMethod;
        std::optional<int> stopExitCode;
        bool stopHangs;
        std::string hook;
        std::int64_t exitCode;
        std::vector<std::string> events;  // the stop's events in the runtime's log, in order
    };
    const Row rows[] = {
        {"without a stop method: System.exit(0) runs the hooks", L"", "", std::nullopt, false, "yes", 0,
         {"system.exit=0", "hook"}},
        {"a stop method taking nothing ends with its own code", L"Service Stop Method=app.Main.stop\n", "void", 3,
         false, "yes", 3, {"stop.thread", "system.exit=3", "hook"}},
        {"a stop method taking String[] lets main return", L"Service Stop Method=app.Main.stop\n", "args",
         std::nullopt, false, "yes", 0, {"stop.argc=0", "destroy", "hook"}},
        {"a value without a dot stops as without the key", L"Service Stop Method=stop\n", "void", std::nullopt,
         false, "yes", 0, {"system.exit=0", "hook"}},
        {"a stop method that never returns: System.exit(0) after the timeout",
         L"Service Stop Method=app.Main.stop\nService Stop Timeout=1\n", "void", std::nullopt, true, "yes", 0,
         {"stop.thread", "system.exit=0", "hook"}},
        {"a hook that never returns either: Runtime.halt after twice the timeout",
         L"Service Stop Method=app.Main.stop\nService Stop Timeout=1\n", "void", std::nullopt, true, "hang", 1,
         {"stop.thread", "system.exit=0", "hook", "runtime.halt=1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(std::wstring(kServiceIni) + row.keys);
        TestRuntimeScenario runtime;
        runtime.mainUntilStop = true;
        runtime.stopMethod = row.stopMethod;
        runtime.stopExitCode = row.stopExitCode;
        runtime.stopHangs = row.stopHangs;
        runtime.shutdownHook = row.hook;
        const std::wstring jvm = app.installRuntime(L"", runtime);
        const auto service = startService(app);
        ASSERT_TRUE(service->waitFor(SERVICE_RUNNING, 20000));

        const auto stopAsked = std::chrono::steady_clock::now();
        ASSERT_TRUE(requestStop(*service));
        ASSERT_TRUE(service->waitFor(SERVICE_STOPPED, 20000));
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - stopAsked).count();
        EXPECT_LT(seconds, 8.0);
        EXPECT_EQ(reportedExitCode(service->status()), row.exitCode);
        const TestRuntimeLog log = readTestRuntimeLog(jvm);
        std::vector<std::string> events;
        for (const auto& [key, value] : log.entries) {
            const std::string event = key + "=" + value;
            for (const std::string& expected : row.events) {
                if (event == expected || key == expected) {
                    events.push_back(expected);
                }
            }
        }
        EXPECT_EQ(events, row.events);
        EXPECT_FALSE(log.has("error"));
    }
}

TEST(Service, StartFailingBeforeMainStopsWithItsReasonInTheErrorFile)
{
    struct Row {
        const char* name;
        bool runtime;
        TestRuntimeScenario scenario;
        std::int64_t exitCode;
        std::string reason;  // a part of the text in the error file
    };
    TestRuntimeScenario refusing;
    refusing.createResult = -4;  // JNI_ENOMEM
    TestRuntimeScenario noMainClass;
    noMainClass.mainClass = "app/Other";
    noMainClass.prestartExitCode = 1;
    const Row rows[] = {
        {"no runtime", false, {}, -1, "Java"},
        {"the runtime refuses the VM", true, refusing, -1, "memory"},
        {"the main class is missing", true, noMainClass, 1, "app.Main"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(std::wstring(kServiceIni) + L"Error File=err.txt\n");
        if (row.runtime) {
            app.installRuntime(L"", row.scenario);
        }
        const auto service = startService(app);
        ASSERT_TRUE(service->waitFor(SERVICE_STOPPED, 20000));
        EXPECT_EQ(reportedExitCode(service->status()), row.exitCode);
        EXPECT_NE(app.readBytes(L"err.txt").find(row.reason), std::string::npos) << app.readBytes(L"err.txt");
    }
}

TEST(Service, HotSpotServiceStopsThroughItsStopMethodAfterItsHooks)
{
    const std::string unavailable = HotSpotScenario::unavailableReason();
    if (!unavailable.empty()) {
        GTEST_SKIP() << "HotSpot scenario skipped: " << unavailable;
    }
    HotSpotScenario app;
    app.installRuntime(L"jre64");
    app.installJars(L"");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=scenario.app.Service\n"
                 L"[Class Path]\nClass Path=\\scenario-app.jar\n"
                 L"[Application]\nApplication Type=service\nOverride WorkingDir=Yes\nOutput File=out.txt\n"
                 L"Service Stop Method=scenario.app.Service.stop\n");
    const auto service = startService(app, {L"a", L"b"});
    ASSERT_TRUE(service->waitFor(SERVICE_RUNNING, 60000));
    const auto output = [&app] {
        std::string text = app.readBytes(L"out.txt");
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    };
    for (int wait = 0; wait < 100 && output().empty(); ++wait) {
        ::Sleep(50);
    }
    EXPECT_EQ(output(), "main a b\n");
    ASSERT_TRUE(requestStop(*service));
    ASSERT_TRUE(service->waitFor(SERVICE_STOPPED, 60000));
    EXPECT_EQ(reportedExitCode(service->status()), 4);
    EXPECT_EQ(output(), "main a b\nstop\nhook\n");
}

} // namespace
