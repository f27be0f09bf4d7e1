#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "config/LauncherSettings.h"
#include "jvm/VmLaunch_win.h"
#include "util/UniqueHandle_win.h"

// What a primary's listener and its workers read; written before the listener
// starts and not changed while it runs.
struct InstanceWorkerContext {
    const VmState* vm = nullptr;       // read once the ready event is signalled
    std::wstring mainClass;            // slash form
    bool stayAttached = false;         // IBM runtimes: workers never detach
    HANDLE readyEvent = nullptr;
    unsigned char* block = nullptr;    // the shared block
};

// Single-instance coordination of one start: whether it coordinates with
// other starts of the same executable, and its side of the protocol. A
// primary owns the shared block, the ready event, the request message and the
// listener thread whose workers call secondaryMain in the running VM; a
// secondary hands its arguments over and waits for the answer.
class InstanceCoordination {
public:
    InstanceCoordination() = default;
    ~InstanceCoordination();
    InstanceCoordination(const InstanceCoordination&) = delete;
    InstanceCoordination& operator=(const InstanceCoordination&) = delete;

    // Reads "Single Instance" and sets up this start's side. `vm` is the VM
    // that the primary's workers use once the ready event is signalled; it
    // must outlive this object. False (exit code -1, no message) only when the
    // configuration path cannot be formed, a secondary's arguments do not fit,
    // or its request cannot be posted. Any other failure turns coordination
    // off.
    bool setup(const std::vector<std::wstring>& arguments, const LauncherSettings& settings, const VmState& vm,
               HWND owner);

    // True when this start coordinates with others ("Single Instance").
    bool active() const { return active_; }
    // True for the first start, which runs the application.
    bool isPrimary() const { return isPrimary_; }
    // The event signalled just before main runs (primary only; may be null).
    HANDLE readyEvent() const { return readyEvent_.get(); }

    // The secondary's road: waits for the primary's answer and returns it, or
    // the primary's exit code when it ends first (-1 when that cannot be read).
    int waitForPrimaryAnswer();

    // Stops the listener of a primary, releases the block and closes the
    // ready event. Safe to call more than once.
    void stop();

private:
    void turnOff();
    bool setupPrimary(const std::wstring& name);
    bool setupSecondary(const std::vector<std::wstring>& arguments, const std::wstring& name);
    void releaseRequestMutex();

    bool active_ = false;
    bool isPrimary_ = false;
    UniqueHandle mapping_;                // the shared block
    unsigned char* block_ = nullptr;      // its view, kSharedBlockSize bytes
    UniqueHandle readyEvent_;
    HANDLE listenerThread_ = nullptr;     // primary; kept open on purpose until the process ends
    UniqueHandle requestMutex_;           // secondary: serialises requests
    bool ownsRequestMutex_ = false;
    HANDLE primaryProcess_ = nullptr;     // secondary; kept open on purpose until the process ends
    InstanceWorkerContext context_;
};
