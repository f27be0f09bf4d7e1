#include "app/ServiceFunctions_win.h"

#include "util/SystemLibrary_win.h"

const ServiceFunctions* serviceFunctions()
{
    // Asked once, by the main thread, before any other thread exists.
    static ServiceFunctions loaded;
    const HMODULE library = loadSystemLibrary(L"advapi32.dll");
    const bool complete = findFunction(library, "StartServiceCtrlDispatcherW", loaded.startDispatcher) &&
                          findFunction(library, "RegisterServiceCtrlHandlerExW", loaded.registerHandler) &&
                          findFunction(library, "SetServiceStatus", loaded.setStatus) &&
                          findFunction(library, "RegisterEventSourceW", loaded.registerEventSource) &&
                          findFunction(library, "ReportEventW", loaded.reportEvent) &&
                          findFunction(library, "DeregisterEventSource", loaded.deregisterEventSource);
    return complete ? &loaded : nullptr;
}
