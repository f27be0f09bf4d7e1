#pragma once
#include <windows.h>

#include <atomic>

#include "util/Reporter.h"

// The windowed launcher's answers: error boxes owned by the launcher-drawn
// splash window while it is up, the runtime-not-found dialog and the
// exception dialog.
class WindowedReporter : public Reporter {
public:
    // `owner` is read each time a box shows (the splash window may come and
    // go); `closeSplash(context)` runs before the exception dialog shows.
    WindowedReporter(const std::atomic<HWND>& owner, void (*closeSplash)(void* context), void* context)
        : owner_(owner), closeSplash_(closeSplash), closeSplashContext_(context)
    {
    }

    // A service shows nothing when the runtime ends its start.
    void setService(bool isService) { isService_ = isService; }

    void reportFailure(const Failure& failure) override;
    void reportStartRefused(const Failure& failure) override;
    std::optional<RuntimeChoice> askForRuntime(const std::wstring& message, const std::wstring& searched,
                                               const std::wstring& downloadPage,
                                               const RuntimeFolderProbe& probe) override;
    ExceptionChoice askAfterException(const std::optional<std::wstring>& trace) override;

private:
    const std::atomic<HWND>& owner_;
    void (*closeSplash_)(void* context);
    void* closeSplashContext_;
    bool isService_ = false;
};
