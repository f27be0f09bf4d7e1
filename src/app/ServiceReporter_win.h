#pragma once
#include <windows.h>

#include <string>

#include "app/ServiceFunctions_win.h"
#include "util/Reporter.h"

// The answers of a service started by the service manager: its status
// there (start pending until main begins, running, stop pending, stopped
// with the exit code) and, for a failure, the Application event log under
// the service's name and the application's error file. No window, ever.
// Calls come from the service's thread, the VM's thread and the service
// manager's control thread.
class ServiceReporter : public Reporter {
public:
    // Reports start pending at once; while a start or stop is pending its
    // checkpoint advances every second.
    ServiceReporter(const ServiceFunctions& functions, const std::wstring& serviceName, SERVICE_STATUS_HANDLE status);
    ~ServiceReporter() override;
    ServiceReporter(const ServiceReporter&) = delete;
    ServiceReporter& operator=(const ServiceReporter&) = delete;

    // Where failures are also written: "Error File" as configured, its
    // environment variables expanded; its date-time pattern is filled in
    // when a failure is written. Empty: nowhere.
    void setErrorFile(std::wstring path) { errorFile_ = std::move(path); }

    // A stop request: when the service runs, it becomes stop pending and the
    // VM is returned; null otherwise (main has not begun, a stop is on its
    // way, or the service has stopped).
    JavaVM* beginStop();

    void reportFailure(const Failure& failure) override;
    void reportStartRefused(const Failure& failure) override;
    std::optional<RuntimeChoice> askForRuntime(const std::wstring& message, const std::wstring& searched,
                                               const std::wstring& downloadPage,
                                               const RuntimeFolderProbe& probe) override;
    ExceptionChoice askAfterException(const std::optional<std::wstring>& trace) override;
    void reportMainBegins(JavaVM* vm) override;
    void reportEnd(int exitCode) override;

private:
    // Sets the state (with its accepted controls) and tells the service
    // manager; applyState with the lock held.
    void setState(DWORD state, int exitCode = 0);
    void applyState(DWORD state, int exitCode);
    void tell(const std::wstring& text);
    static void CALLBACK advanceCheckpoint(void* reporter, BOOLEAN);

    const ServiceFunctions& functions_;
    std::wstring serviceName_;
    SERVICE_STATUS_HANDLE statusHandle_;
    std::wstring errorFile_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    SERVICE_STATUS status_{};
    JavaVM* vm_ = nullptr;
    HANDLE pulse_ = nullptr;  // timer-queue timer, deleted by the destructor
};
