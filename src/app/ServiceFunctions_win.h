#pragma once
#include <windows.h>
#include <winsvc.h>

// The service and event log functions of advapi32. The launcher does not
// import advapi32: only a service started by the service manager needs
// them, so they are loaded on first use, from the system folder only, and
// stay loaded.
struct ServiceFunctions {
    decltype(&::StartServiceCtrlDispatcherW) startDispatcher = nullptr;
    decltype(&::RegisterServiceCtrlHandlerExW) registerHandler = nullptr;
    decltype(&::SetServiceStatus) setStatus = nullptr;
    decltype(&::RegisterEventSourceW) registerEventSource = nullptr;
    decltype(&::ReportEventW) reportEvent = nullptr;
    decltype(&::DeregisterEventSource) deregisterEventSource = nullptr;
};

// The loaded functions; null when advapi32 or one of them cannot be found.
// Called once, before the dispatcher starts other threads.
const ServiceFunctions* serviceFunctions();
