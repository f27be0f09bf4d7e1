#include "ui/WindowedReporter_win.h"

#include "ui/ExceptionDialog_win.h"
#include "ui/RuntimeNotFoundDialog_win.h"
#include "util/MessageText_win.h"

void WindowedReporter::reportFailure(const Failure& failure)
{
    if (failure.messageId == 0) {
        return;
    }
    // Default caption, OK only; blocks until closed.
    ::MessageBoxW(owner_.load(), failureText(failure).c_str(), nullptr, MB_ICONERROR);
}

void WindowedReporter::reportStartRefused(const Failure& failure)
{
    if (!isService_) {
        reportFailure(failure);
    }
}

std::optional<RuntimeChoice> WindowedReporter::askForRuntime(const std::wstring& message, const std::wstring&,
                                                             const std::wstring& downloadPage,
                                                             const RuntimeFolderProbe& probe)
{
    const RuntimeNotFoundResult result = showRuntimeNotFoundDialog(::GetActiveWindow(), message, downloadPage, probe);
    if (result.endCode != IDOK) {
        return std::nullopt;
    }
    return RuntimeChoice{result.folder, result.jvmLibraryPath};
}

ExceptionChoice WindowedReporter::askAfterException(const std::optional<std::wstring>& trace)
{
    if (closeSplash_ != nullptr) {
        closeSplash_(closeSplashContext_);
    }
    if (!trace) {
        return ExceptionChoice::NoDialog;
    }
    return askToStopAfterException(*trace) ? ExceptionChoice::Stop : ExceptionChoice::Continue;
}
