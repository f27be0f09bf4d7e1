#include "jvm/ErrorCapture_win.h"

#include <windows.h>

#include <memory>

#include "jvm/ErrorTap.h"
#include "util/ExclusiveLock_win.h"
#include "util/UniqueHandle_win.h"

namespace {

constexpr std::size_t kKeptLimit = 64 * 1024;

// Written into the pipe by the launcher itself: once the reader has seen it,
// everything written before it has been read. Not text any runtime prints.
const char kSyncMarker[] = "\x1B\x01launcher-standard-error-sync\x01\x1B";

// How long a flush waits while no byte moves on: a reader of the original
// standard error that takes nothing for so long is taken as stuck.
constexpr ULONGLONG kStallLimitMillis = 30000;

} // namespace

struct ErrorCapture::Shared {
    UniqueHandle readEnd;
    UniqueHandle writeEnd;        // also the process's standard error from now on
    HANDLE original = nullptr;    // the standard error before; null when there was none
    UniqueHandle markerSeen;      // auto-reset: a marker has passed
    SRWLOCK lock = SRWLOCK_INIT;
    ErrorTap tap{kSyncMarker, kKeptLimit};
    std::size_t markersPassed = 0;  // markers whose preceding bytes have been handed on
    std::size_t chunksHandled = 0;  // reads handed on (or dropped): bytes are moving
    INIT_ONCE readerStarted = INIT_ONCE_STATIC_INIT;
};

namespace {

DWORD WINAPI readStandardError(void* parameter)
{
    auto& shared = *static_cast<ErrorCapture::Shared*>(parameter);
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(shared.readEnd.get(), buffer, sizeof buffer, &read, nullptr) || read == 0) {
            return 0;
        }
        std::string out;
        std::size_t markers = 0;
        {
            ExclusiveLock locked(shared.lock);
            out = shared.tap.feed(std::string_view(buffer, read));
            markers = shared.tap.markersSeen();
        }
        if (shared.original != nullptr && !out.empty()) {
            DWORD written = 0;
            // A reader of the original handle that went away stops the
            // passing on, never the draining.
            if (!::WriteFile(shared.original, out.data(), static_cast<DWORD>(out.size()), &written, nullptr)) {
                shared.original = nullptr;
            }
        }
        // A marker counts once the bytes before it are where they belong.
        bool passed = false;
        {
            ExclusiveLock locked(shared.lock);
            passed = markers != shared.markersPassed;
            shared.markersPassed = markers;
            ++shared.chunksHandled;
        }
        if (passed) {
            ::SetEvent(shared.markerSeen.get());
        }
    }
}

// Writes a marker into the pipe. On a thread of its own, as the write waits
// while the pipe is full; a flush gives up on a reader that is stuck, the
// write does not.
DWORD WINAPI writeMarker(void* parameter)
{
    auto& shared = *static_cast<ErrorCapture::Shared*>(parameter);
    DWORD written = 0;
    ::WriteFile(shared.writeEnd.get(), kSyncMarker, static_cast<DWORD>(sizeof kSyncMarker - 1), &written, nullptr);
    return 0;
}

bool usable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

bool ErrorCapture::start()
{
    if (shared_ != nullptr) {
        return true;
    }
    auto shared = std::make_unique<Shared>();
    const HANDLE original = ::GetStdHandle(STD_ERROR_HANDLE);
    shared->original = usable(original) ? original : nullptr;
    shared->markerSeen.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!shared->markerSeen || !::CreatePipe(shared->readEnd.put(), shared->writeEnd.put(), nullptr, kKeptLimit)) {
        return false;
    }
    ::SetStdHandle(STD_ERROR_HANDLE, shared->writeEnd.get());
    // The pipe's ends, the event and the shared state stay for the life of
    // the process, on purpose: the reader reads until the process ends.
    shared_ = shared.release();
    return true;
}

void ErrorCapture::startReader()
{
    if (shared_ == nullptr) {
        return;
    }
    ::InitOnceExecuteOnce(
        &shared_->readerStarted,
        [](PINIT_ONCE, PVOID parameter, PVOID*) -> BOOL {
            auto* shared = static_cast<Shared*>(parameter);
            // The reader runs as long as the process; nobody waits for it.
            const UniqueHandle thread(::CreateThread(nullptr, 64 * 1024, readStandardError, shared,
                                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
            if (!thread) {
                // Nobody will read: writers get a broken pipe instead of
                // waiting for ever on a full one.
                shared->readEnd.reset();
            }
            return TRUE;
        },
        shared_, nullptr);
}

void ErrorCapture::stopKeeping()
{
    if (shared_ == nullptr) {
        return;
    }
    ExclusiveLock locked(shared_->lock);
    shared_->tap.stopKeeping();
}

void ErrorCapture::flush()
{
    if (shared_ == nullptr) {
        return;
    }
    startReader();
    if (!shared_->readEnd) {
        return;  // nobody reads: nothing is passed on
    }
    std::size_t wanted = 0;
    std::size_t handled = 0;
    {
        ExclusiveLock locked(shared_->lock);
        wanted = shared_->tap.markersSeen() + 1;
        handled = shared_->chunksHandled;
    }
    const UniqueHandle writer(
        ::CreateThread(nullptr, 64 * 1024, writeMarker, shared_, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!writer) {
        writeMarker(shared_);
    }
    // Waits as long as bytes move on, as a direct write to the original
    // standard error would have.
    ULONGLONG lastMove = ::GetTickCount64();
    for (;;) {
        bool arrived = false;
        {
            ExclusiveLock locked(shared_->lock);
            arrived = shared_->markersPassed >= wanted;
            if (shared_->chunksHandled != handled) {
                handled = shared_->chunksHandled;
                lastMove = ::GetTickCount64();
            }
        }
        if (arrived || ::GetTickCount64() - lastMove >= kStallLimitMillis) {
            return;
        }
        ::WaitForSingleObject(shared_->markerSeen.get(), 200);
    }
}

std::string ErrorCapture::kept()
{
    if (shared_ == nullptr) {
        return std::string();
    }
    flush();
    ExclusiveLock locked(shared_->lock);
    return shared_->tap.kept();
}
