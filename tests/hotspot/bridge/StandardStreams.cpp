// Java's standard streams follow the Windows standard handles.
//
// A Windows Java VM initialises System.in, System.out and System.err from
// GetStdHandle when it starts. HotSpot on Linux writes to the Unix descriptors
// 0, 1 and 2 instead, and Wine does not point those at the Windows handles of
// a process started with redirected handles. So before the VM starts, the
// bridge points each Unix descriptor at the file behind the matching Windows
// handle. Wine's pipes have no Unix descriptor: for output to such a pipe the
// descriptor becomes a Unix pipe, and a Wine thread copies what arrives to the
// Windows handle.
#include "Bridge.h"

#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>

extern "C" LONG CDECL wine_server_handle_to_fd(HANDLE handle, unsigned int access, int* unixFd,
                                               unsigned int* options);

namespace hsbridge {
namespace {

struct Forwarder {
    int unixFd;     // 1 or 2: the descriptor Java writes to
    int readFd;     // read end of the Unix pipe behind it
    HANDLE target;  // the Windows handle the output goes to
    HANDLE thread;
    std::atomic<long> inFlight;  // bytes read from the pipe and not yet written on
};

Forwarder forwarders[2] = {{1, -1, nullptr, nullptr, {0}}, {2, -1, nullptr, nullptr, {0}}};

// Copies what is in the pipe to the Windows handle, until the end of the
// output (or, with a non-blocking pipe, until it is empty). Keeps reading
// after the reader of the Windows handle went away, so that Java never blocks.
void copyPipe(Forwarder& forwarder) {
    char buffer[4096];
    bool deliver = true;
    for (;;) {
        const ssize_t got = read(forwarder.readFd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        forwarder.inFlight += got;
        for (DWORD done = 0; deliver && done < static_cast<DWORD>(got);) {
            DWORD written = 0;
            deliver = WriteFile(forwarder.target, buffer + done, static_cast<DWORD>(got) - done, &written, nullptr);
            done += written;
        }
        forwarder.inFlight -= got;
    }
    close(forwarder.readFd);
    forwarder.readFd = -1;
}

DWORD WINAPI copyToWindowsHandle(void* data) {
    copyPipe(*static_cast<Forwarder*>(data));
    return 0;
}

bool startForwarder(Forwarder& forwarder, HANDLE target) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    forwarder.readFd = ends[0];
    forwarder.target = target;
    forwarder.thread = CreateThread(nullptr, 64 * 1024, copyToWindowsHandle, &forwarder,
                                    STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (forwarder.thread == nullptr) {
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    dup2(ends[1], forwarder.unixFd);
    close(ends[1]);
    return true;
}

}  // namespace

void adoptWindowsStandardHandles() {
    static const struct {
        DWORD which;
        int unixFd;
        unsigned int access;
    } kStreams[] = {
        {STD_INPUT_HANDLE, 0, FILE_READ_DATA},
        {STD_OUTPUT_HANDLE, 1, FILE_WRITE_DATA},
        {STD_ERROR_HANDLE, 2, FILE_WRITE_DATA},
    };
    for (const auto& stream : kStreams) {
        HANDLE handle = GetStdHandle(stream.which);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) continue;
        // Consoles stay as they are: Wine already shows Unix output there.
        const DWORD type = GetFileType(handle);
        if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) continue;
        int fd = -1;
        if (wine_server_handle_to_fd(handle, stream.access, &fd, nullptr) == 0 && fd >= 0) {
            if (fd != stream.unixFd) {
                dup2(fd, stream.unixFd);
                close(fd);
            }
        } else if (stream.unixFd != 0) {
            Forwarder& forwarder = forwarders[stream.unixFd - 1];
            if (forwarder.thread == nullptr) startForwarder(forwarder, handle);
        }
    }
}

void flushStandardStreams() {
    for (auto& forwarder : forwarders) {
        if (forwarder.thread == nullptr) continue;
        // Closing the write end lets the copying thread see the end of the
        // output once it has passed everything on.
        const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (devNull < 0) continue;
        dup2(devNull, forwarder.unixFd);
        close(devNull);
        WaitForSingleObject(forwarder.thread, 5000);
        CloseHandle(forwarder.thread);
        forwarder.thread = nullptr;
        // ExitProcess ends the copying thread before DLL detach: pass on what
        // is left from here.
        if (forwarder.readFd >= 0) {
            fcntl(forwarder.readFd, F_SETFL, fcntl(forwarder.readFd, F_GETFL) | O_NONBLOCK);
            copyPipe(forwarder);
        }
    }
}

void drainStandardStreams() {
    // A Windows VM writes its standard error straight into the handle; here
    // the copying thread passes it on a little later. Waits (at most a
    // second) until what Java wrote so far has reached the Windows handles,
    // so that a reader of those handles sees it in the same order as a
    // Windows VM's output.
    for (auto& forwarder : forwarders) {
        if (forwarder.thread == nullptr || forwarder.readFd < 0) continue;
        for (int waited = 0; waited < 1000; ++waited) {
            int pending = 0;
            if (ioctl(forwarder.readFd, FIONREAD, &pending) != 0) break;
            if (pending == 0 && forwarder.inFlight.load() == 0) break;
            usleep(1000);
        }
    }
}

}  // namespace hsbridge

// The process may end without DestroyJavaVM: pass on the last output then.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason == DLL_PROCESS_DETACH) hsbridge::flushStandardStreams();
    return TRUE;
}
