// How the process ends when Java ends it (System.exit, Runtime.halt, a fatal
// VM error).
//
// HotSpot calls its "exit" and "abort" hooks and then the C library's exit or
// abort. That would end the Unix process behind Wine's back, and a Windows
// parent would see exit code 0. The bridge therefore always installs hooks of
// its own: they call the launcher's hooks and then ExitProcess(code).
//
// Both must run on a Wine thread. HotSpot calls the exit hook on its VM thread
// and the abort hook on whichever thread failed; threads HotSpot creates are
// not Wine threads (they inherit the creating thread's TEB pointer, but their
// stack lies outside that TEB's stack). Such a thread hands the request over a
// pipe to a Wine thread the bridge started beforehand, and sleeps until the
// process ends.
#include "Bridge.h"

#include <windows.h>
#include <winternl.h>

#include <errno.h>
#include <unistd.h>

namespace hsbridge {
namespace {

struct ExitRequest {
    bool abort;
    jint code;
};

WindowsExitHook windowsExitHook = nullptr;
WindowsAbortHook windowsAbortHook = nullptr;
int requestPipe[2] = {-1, -1};
HANDLE finisherThread = nullptr;

// The code an aborting Java VM ends with, as HotSpot's own exit(1) after the
// abort hook.
constexpr jint kAbortExitCode = 1;

bool onWineThread() {
    const TEB* teb = NtCurrentTeb();
    const char* stack = static_cast<const char*>(__builtin_frame_address(0));
    return stack >= static_cast<const char*>(teb->DeallocationStack) &&
           stack < static_cast<const char*>(teb->Tib.StackBase);
}

[[noreturn]] void finish(const ExitRequest& request) {
    flushStandardStreams();
    if (request.abort) {
        if (windowsAbortHook != nullptr) windowsAbortHook();
    } else if (windowsExitHook != nullptr) {
        windowsExitHook(request.code);
    }
    ExitProcess(static_cast<UINT>(request.code));
}

DWORD WINAPI waitForExitRequest(void*) {
    ExitRequest request;
    char* into = reinterpret_cast<char*>(&request);
    size_t got = 0;
    while (got < sizeof request) {
        const ssize_t n = read(requestPipe[0], into + got, sizeof request - got);
        if (n > 0) {
            got += static_cast<size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            return 0;
        }
    }
    finish(request);
}

[[noreturn]] void requestExit(const ExitRequest& request) {
    if (onWineThread() || finisherThread == nullptr) finish(request);
    // Smaller than PIPE_BUF, so the write is atomic even if two threads race.
    while (write(requestPipe[1], &request, sizeof request) < 0 && errno == EINTR) {
    }
    for (;;) pause();
}

}  // namespace

bool prepareProcessExit(WindowsExitHook exitHook, WindowsAbortHook abortHook) {
    windowsExitHook = exitHook;
    windowsAbortHook = abortHook;
    if (finisherThread != nullptr) return true;
    if (pipe(requestPipe) != 0) return false;
    finisherThread = CreateThread(nullptr, 64 * 1024, waitForExitRequest, nullptr,
                                  STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    return finisherThread != nullptr;
}

void unixExitHook(jint code) {
    requestExit(ExitRequest{false, code});
}

void unixAbortHook() {
    requestExit(ExitRequest{true, kAbortExitCode});
}

}  // namespace hsbridge
