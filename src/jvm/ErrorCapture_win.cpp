#include "jvm/ErrorCapture_win.h"

#include <windows.h>

#include "jvm/ErrorTap.h"

namespace {

constexpr std::size_t kKeptLimit = 64 * 1024;

// Written into the pipe by the launcher itself: once the reader has seen it,
// everything written before it has been read. Not text any runtime prints.
const char kSyncMarker[] = "\x1B\x01launcher-standard-error-sync\x01\x1B";

} // namespace

struct ErrorCapture::Shared {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;    // also the process's standard error from now on
    HANDLE original = nullptr;    // the standard error before; null when there was none
    HANDLE markerSeen = nullptr;  // auto-reset: a marker has passed
    SRWLOCK lock = SRWLOCK_INIT;
    ErrorTap tap{kSyncMarker, kKeptLimit};
    std::size_t markersPassed = 0;  // markers whose preceding bytes have been handed on
    INIT_ONCE readerStarted = INIT_ONCE_STATIC_INIT;
};

namespace {

DWORD WINAPI readStandardError(void* parameter)
{
    auto& shared = *static_cast<ErrorCapture::Shared*>(parameter);
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(shared.readEnd, buffer, sizeof buffer, &read, nullptr) || read == 0) {
            return 0;
        }
        ::AcquireSRWLockExclusive(&shared.lock);
        const std::string out = shared.tap.feed(std::string_view(buffer, read));
        const std::size_t markers = shared.tap.markersSeen();
        ::ReleaseSRWLockExclusive(&shared.lock);
        if (shared.original != nullptr && !out.empty()) {
            DWORD written = 0;
            // A reader of the original handle that went away stops the
            // passing on, never the draining.
            if (!::WriteFile(shared.original, out.data(), static_cast<DWORD>(out.size()), &written, nullptr)) {
                shared.original = nullptr;
            }
        }
        // A marker counts once the bytes before it are where they belong.
        ::AcquireSRWLockExclusive(&shared.lock);
        const bool passed = markers != shared.markersPassed;
        shared.markersPassed = markers;
        ::ReleaseSRWLockExclusive(&shared.lock);
        if (passed) {
            ::SetEvent(shared.markerSeen);
        }
    }
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
    auto* shared = new Shared;
    const HANDLE original = ::GetStdHandle(STD_ERROR_HANDLE);
    shared->original = usable(original) ? original : nullptr;
    shared->markerSeen = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (shared->markerSeen == nullptr || !::CreatePipe(&shared->readEnd, &shared->writeEnd, nullptr, kKeptLimit)) {
        if (shared->markerSeen != nullptr) {
            ::CloseHandle(shared->markerSeen);
        }
        delete shared;
        return false;
    }
    ::SetStdHandle(STD_ERROR_HANDLE, shared->writeEnd);
    // The pipe's ends, the event and the shared state stay for the life of
    // the process, on purpose: the reader reads until the process ends.
    shared_ = shared;
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
            HANDLE thread = ::CreateThread(nullptr, 64 * 1024, readStandardError, shared,
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
            if (thread == nullptr) {
                // Nobody will read: writers get a broken pipe instead of
                // waiting for ever on a full one.
                ::CloseHandle(shared->readEnd);
                shared->readEnd = nullptr;
                return TRUE;
            }
            // The reader runs as long as the process; nobody waits for it.
            ::CloseHandle(thread);
            return TRUE;
        },
        shared_, nullptr);
}

void ErrorCapture::stopKeeping()
{
    if (shared_ == nullptr) {
        return;
    }
    ::AcquireSRWLockExclusive(&shared_->lock);
    shared_->tap.stopKeeping();
    ::ReleaseSRWLockExclusive(&shared_->lock);
}

void ErrorCapture::flush()
{
    if (shared_ == nullptr) {
        return;
    }
    startReader();
    ::AcquireSRWLockExclusive(&shared_->lock);
    const std::size_t wanted = shared_->tap.markersSeen() + 1;
    ::ReleaseSRWLockExclusive(&shared_->lock);
    DWORD written = 0;
    const DWORD markerSize = static_cast<DWORD>(sizeof kSyncMarker - 1);
    if (!::WriteFile(shared_->writeEnd, kSyncMarker, markerSize, &written, nullptr) || written != markerSize) {
        return;
    }
    const ULONGLONG deadline = ::GetTickCount64() + 1000;
    for (;;) {
        ::AcquireSRWLockExclusive(&shared_->lock);
        const bool arrived = shared_->markersPassed >= wanted;
        ::ReleaseSRWLockExclusive(&shared_->lock);
        const ULONGLONG now = ::GetTickCount64();
        if (arrived || now >= deadline) {
            return;
        }
        ::WaitForSingleObject(shared_->markerSeen, static_cast<DWORD>(deadline - now));
    }
}

std::string ErrorCapture::kept()
{
    if (shared_ == nullptr) {
        return std::string();
    }
    flush();
    ::AcquireSRWLockExclusive(&shared_->lock);
    std::string text = shared_->tap.kept();
    ::ReleaseSRWLockExclusive(&shared_->lock);
    return text;
}
