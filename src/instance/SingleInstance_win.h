#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "config/LauncherSettings.h"
#include "jvm/VmLaunch_win.h"
#include "util/Trace.h"
#include "util/UniqueHandle_win.h"

struct ListenerState;

// Single-instance coordination of one start: whether it coordinates with
// other starts of the same executable, and its side of the protocol. A
// primary owns the shared block, the ready event, the request message and the
// listener thread that calls secondaryMain in the running VM; a secondary
// hands its arguments over and waits for the answer.
class InstanceCoordination {
public:
    InstanceCoordination();
    ~InstanceCoordination();
    InstanceCoordination(const InstanceCoordination&) = delete;
    InstanceCoordination& operator=(const InstanceCoordination&) = delete;

    // Reads "Single Instance" from `config` and sets up this start's side for
    // the launcher at `executablePath` (its starts coordinate). `vm` is the VM
    // that the primary's listener uses once the ready event is signalled; it
    // must outlive this object. The named objects admit only the user this
    // start runs as (default security when that cannot be arranged). False
    // (exit code -1, no message) when a secondary's arguments do not fit, the
    // primary cannot be reached, or the request cannot be posted. Any other
    // failure turns coordination off, and so does a primary whose process
    // runs another executable (or one that cannot be told): the arguments are
    // then not handed over.
    bool setup(const std::vector<std::wstring>& arguments, const LauncherSettings& settings, const ConfigStore& config,
               const VmState& vm, const std::wstring& executablePath, const Trace& trace = Trace());

    // True when this start coordinates with others ("Single Instance").
    bool active() const { return active_; }
    // True for the first start, which runs the application.
    bool isPrimary() const { return isPrimary_; }
    // The event signalled just before main runs (primary only; may be null).
    HANDLE readyEvent() const;

    // The secondary's road: waits for the primary's answer and returns it, or
    // the primary's exit code when it ends first (-1 when that cannot be read).
    int waitForPrimaryAnswer();

    // Called before the VM is destroyed: a listener that has not joined the VM
    // by now never will, so nothing attaches to a VM being destroyed.
    void stopJoiningVm();

    // Called once the VM is gone: stops the listener of a primary (unless it
    // is inside a call that the VM's end holds; it is then left alone with
    // what it uses), releases the block and closes the events. Safe to call
    // more than once.
    void stop();

private:
    void turnOff();
    bool setupPrimary(const std::wstring& name, SECURITY_ATTRIBUTES* security, const LauncherSettings& settings,
                      const VmState& vm);
    bool setupSecondary(const std::vector<std::wstring>& arguments, const std::wstring& name,
                        SECURITY_ATTRIBUTES* security, const Trace& trace);
    void releaseRequestMutex();

    bool active_ = false;
    bool isPrimary_ = false;
    UniqueHandle mapping_;                // the shared block
    unsigned char* block_ = nullptr;      // its view, kSharedBlockSize bytes
    // Primary: what the listener shares with this object.
    std::unique_ptr<ListenerState> listener_;
    UniqueHandle listenerThread_;
    // Secondary.
    UniqueHandle requestMutex_;           // serialises requests
    bool ownsRequestMutex_ = false;
    UniqueHandle primaryProcess_;
    bool primaryEnded_ = false;           // it ended while this start waited for its turn
};
