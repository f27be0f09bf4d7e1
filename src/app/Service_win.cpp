#include "app/Service_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include <memory>

#include "app/ServiceReporter_win.h"
#include "jvm/ServiceStop_win.h"
#include "util/Path_win.h"
#include "util/ScopeExit.h"
#include "util/UniqueHandle_win.h"

namespace {

// The exit code of a VM that did not end within twice the stop timeout and
// was halted.
constexpr int kHaltExitCode = 1;

// Everything of the one service this process runs. It lives on the main
// thread's stack while the dispatcher runs; the service's thread, the
// control thread and the stop sequence use it.
struct ServiceRun {
    ServiceRun(Launcher& start, const Expected<void>& configurationRead, const Trace& startTrace,
               const ServiceFunctions& loaded)
        : launcher(start), configuration(configurationRead), trace(startTrace), functions(loaded)
    {
    }

    Launcher& launcher;
    const Expected<void>& configuration;
    const Trace& trace;
    const ServiceFunctions& functions;
    // Set once the start has ended, and when the service's main function is done.
    UniqueHandle ended{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle finished{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ServiceSettings settings;
    std::unique_ptr<ServiceReporter> reporter;
    // Written on the control thread, which is the main thread.
    JavaVM* vm = nullptr;
    UniqueHandle stopSequence;
    int exitCode = -1;
};

// The service manager calls the service's main function without a context.
ServiceRun* serviceRun = nullptr;

enum class StopStep { StopMethod, Exit, Halt };

// One call of the stop sequence, owned by the thread that makes it: the
// application may never return, and nothing waits for that thread.
struct StopCall {
    JavaVM* vm;
    StopStep step;
    ServiceSettings settings;
};

DWORD WINAPI stopCallMain(void* parameter)
{
    const std::unique_ptr<StopCall> call(static_cast<StopCall*>(parameter));
    switch (call->step) {
    case StopStep::StopMethod:
        if (callStopMethod(call->vm, call->settings.stopClass, call->settings.stopMethod)) {
            break;
        }
        // A stop method that cannot be called stops as without the key.
        [[fallthrough]];
    case StopStep::Exit:
        callSystemExit(call->vm, 0);
        break;
    case StopStep::Halt:
        callRuntimeHalt(call->vm, kHaltExitCode);
        break;
    }
    return 0;
}

void startStopCall(const ServiceRun& run, StopStep step)
{
    auto call = std::make_unique<StopCall>(StopCall{run.vm, step, run.settings});
    const UniqueHandle thread(::CreateThread(nullptr, 0, stopCallMain, call.get(), 0, nullptr));
    if (thread) {
        call.release();
    }
}

// The stop: the stop method (or System.exit(0)), then System.exit(0) when
// the VM has not ended within the timeout, then Runtime.halt when it has
// not ended within as long again.
DWORD WINAPI stopSequenceMain(void* parameter)
{
    const ServiceRun& run = *static_cast<ServiceRun*>(parameter);
    const DWORD timeout = run.settings.stopTimeoutSeconds * 1000;
    const bool stopMethod = !run.settings.stopMethod.empty();
    run.trace.line({L"service: stop requested"});
    startStopCall(run, stopMethod ? StopStep::StopMethod : StopStep::Exit);
    if (::WaitForSingleObject(run.ended.get(), timeout) == WAIT_OBJECT_0) {
        return 0;
    }
    if (stopMethod) {
        startStopCall(run, StopStep::Exit);
    }
    if (::WaitForSingleObject(run.ended.get(), timeout) == WAIT_OBJECT_0) {
        return 0;
    }
    run.trace.line({L"service: halting the VM"});
    startStopCall(run, StopStep::Halt);
    return 0;
}

DWORD WINAPI handleControl(DWORD control, DWORD, void*, void* context)
{
    ServiceRun& run = *static_cast<ServiceRun*>(context);
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
    case SERVICE_CONTROL_PRESHUTDOWN:
        // Accepted only while running, which the reporter says once it
        // exists; a second request finds the stop on its way.
        if (JavaVM* vm = run.reporter->beginStop()) {
            run.vm = vm;
            run.stopSequence.reset(::CreateThread(nullptr, 0, stopSequenceMain, &run, 0, nullptr));
        }
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI serviceMain(DWORD argc, LPWSTR* argv)
{
    ServiceRun& run = *serviceRun;
    const ScopeExit finished([&run] { ::SetEvent(run.finished.get()); });
    // The first argument is the service's name, the others its start parameters.
    const wchar_t* name = argc > 0 && argv[0] != nullptr ? argv[0] : L"";
    const SERVICE_STATUS_HANDLE status = run.functions.registerHandler(name, handleControl, &run);
    if (status == nullptr) {
        return;
    }
    // Conversions to narrow text on this thread use the system's code page.
    ::SetThreadLocale(::GetSystemDefaultLCID());
    run.reporter = std::make_unique<ServiceReporter>(run.functions, name, status);
    run.launcher.serveThrough(*run.reporter, argc > 0 ? argc - 1 : 0, argv + 1);
    run.settings = run.launcher.serviceSettings();
    run.reporter->setErrorFile(run.launcher.configuredErrorFile());
    run.exitCode = run.launcher.start(run.configuration);
    ::SetEvent(run.ended.get());
    run.reporter->reportEnd(run.exitCode);
}

// Whether the service manager started this process: its parent is the
// system folder's services.exe. (Asking the dispatcher instead costs a
// process that was not started so up to seconds before it fails.)
bool startedByServiceManager()
{
    const UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    const DWORD self = ::GetCurrentProcessId();
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more && parent == 0;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        parent = entry.th32ProcessID == self ? entry.th32ParentProcessID : 0;
    }
    const UniqueHandle process(parent != 0 ? ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent)
                                           : nullptr);
    wchar_t system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (!process || length == 0 || length >= MAX_PATH) {
        return false;
    }
    const std::wstring serviceManager = std::wstring(system, length) + L"\\services.exe";
    return ::CompareStringOrdinal(imagePathOf(process.get()).c_str(), -1, serviceManager.c_str(), -1, TRUE) ==
           CSTR_EQUAL;
}

} // namespace

std::optional<int> runAsService(Launcher& launcher, const Expected<void>& configuration, const Trace& trace)
{
    const ServiceFunctions* functions = startedByServiceManager() ? serviceFunctions() : nullptr;
    if (functions == nullptr) {
        trace.line({L"service: not started by the service manager"});
        return std::nullopt;
    }
    ServiceRun run(launcher, configuration, trace, *functions);
    if (!run.ended || !run.finished) {
        return std::nullopt;
    }
    serviceRun = &run;
    const ScopeExit forget([] { serviceRun = nullptr; });
    wchar_t ownProcess[] = L"";
    SERVICE_TABLE_ENTRYW table[] = {{ownProcess, serviceMain}, {nullptr, nullptr}};
    if (!functions->startDispatcher(table)) {
        trace.line({L"service: no service manager to connect to"});
        return std::nullopt;
    }
    // The dispatcher returns once the service reports stopped: from its main
    // function, or from the runtime's exit, which ends the process meanwhile.
    ::WaitForSingleObject(run.finished.get(), INFINITE);
    if (run.stopSequence) {
        ::WaitForSingleObject(run.stopSequence.get(), INFINITE);
    }
    return run.exitCode;
}
