#include "app/ServiceReporter_win.h"

#include "jvm/StreamRedirection_win.h"
#include "util/ExclusiveLock_win.h"
#include "util/MessageText_win.h"
#include "util/Path_win.h"
#include "util/TextConversion_win.h"

namespace {

// How often a pending start or stop advances its checkpoint, and how long
// the service manager is asked to wait for the next one.
constexpr DWORD kPulseMillis = 1000;
constexpr DWORD kWaitHintMillis = 5000;
// The event id of every failure the launcher writes to the event log.
constexpr DWORD kFailureEventId = 1;

} // namespace

ServiceReporter::ServiceReporter(const ServiceFunctions& functions, const std::wstring& serviceName,
                                 SERVICE_STATUS_HANDLE status)
    : functions_(functions), serviceName_(serviceName), statusHandle_(status)
{
    status_.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    setState(SERVICE_START_PENDING);
    ::CreateTimerQueueTimer(&pulse_, nullptr, advanceCheckpoint, this, kPulseMillis, kPulseMillis,
                            WT_EXECUTEDEFAULT);
}

ServiceReporter::~ServiceReporter()
{
    if (pulse_ != nullptr) {
        // Waits for a pulse that is under way.
        ::DeleteTimerQueueTimer(nullptr, pulse_, INVALID_HANDLE_VALUE);
    }
}

void ServiceReporter::setState(DWORD state, int exitCode)
{
    ExclusiveLock locked(lock_);
    applyState(state, exitCode);
}

void ServiceReporter::applyState(DWORD state, int exitCode)
{
    // A stopped service's status handle is no longer valid.
    if (status_.dwCurrentState == SERVICE_STOPPED) {
        return;
    }
    status_.dwCurrentState = state;
    status_.dwControlsAccepted =
        state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_PRESHUTDOWN : 0;
    status_.dwWin32ExitCode = exitCode != 0 ? ERROR_SERVICE_SPECIFIC_ERROR : NO_ERROR;
    status_.dwServiceSpecificExitCode = static_cast<DWORD>(exitCode);
    const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    status_.dwCheckPoint = pending ? 1 : 0;
    status_.dwWaitHint = pending ? kWaitHintMillis : 0;
    functions_.setStatus(statusHandle_, &status_);
}

void CALLBACK ServiceReporter::advanceCheckpoint(void* context, BOOLEAN)
{
    ServiceReporter& reporter = *static_cast<ServiceReporter*>(context);
    ExclusiveLock locked(reporter.lock_);
    SERVICE_STATUS& status = reporter.status_;
    if (status.dwCurrentState == SERVICE_START_PENDING || status.dwCurrentState == SERVICE_STOP_PENDING) {
        ++status.dwCheckPoint;
        reporter.functions_.setStatus(reporter.statusHandle_, &status);
    }
}

JavaVM* ServiceReporter::beginStop()
{
    ExclusiveLock locked(lock_);
    if (status_.dwCurrentState != SERVICE_RUNNING) {
        return nullptr;
    }
    applyState(SERVICE_STOP_PENDING, 0);
    return vm_;
}

void ServiceReporter::tell(const std::wstring& text)
{
    const HANDLE source = functions_.registerEventSource(nullptr, serviceName_.c_str());
    if (source != nullptr) {
        const wchar_t* strings[] = {text.c_str()};
        functions_.reportEvent(source, EVENTLOG_ERROR_TYPE, 0, kFailureEventId, nullptr, 1, 0, strings, nullptr);
        functions_.deregisterEventSource(source);
    }
    if (!errorFile_.empty()) {
        std::wstring path = errorFile_;
        fillDateTimePatterns({&path});
        appendToFile(path, toUtf8(text + L"\r\n"));
    }
}

void ServiceReporter::reportFailure(const Failure& failure)
{
    if (failure.messageId != 0) {
        tell(failureText(failure));
    }
}

void ServiceReporter::reportStartRefused(const Failure& failure)
{
    reportFailure(failure);
}

std::optional<RuntimeChoice> ServiceReporter::askForRuntime(const std::wstring& message, const std::wstring& searched,
                                                            const std::wstring&, const RuntimeFolderProbe&)
{
    tell(message + L"\r\nSearched: " + searched);
    return std::nullopt;
}

ExceptionChoice ServiceReporter::askAfterException(const std::optional<std::wstring>&)
{
    // Nobody is there to decide; the VM prints the exception to System.err.
    return ExceptionChoice::NoDialog;
}

void ServiceReporter::reportMainBegins(JavaVM* vm)
{
    ExclusiveLock locked(lock_);
    vm_ = vm;
    applyState(SERVICE_RUNNING, 0);
}

void ServiceReporter::reportEnd(int exitCode)
{
    setState(SERVICE_STOPPED, exitCode);
}
