#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/HyperlinkControl_win.h"

// The JVM library a runtime folder (ending with "\") holds; empty when none.
using JvmLibraryProbe = std::function<std::wstring(const std::wstring& folder)>;

// The dialog shown when no Java runtime was found: the message, a link to a
// download page, and a folder browser whose choice is accepted only when the
// probe finds a JVM library in it.
class RuntimeNotFoundDialog {
public:
    // `downloadPage` empty: the link shows and opens the built-in page.
    RuntimeNotFoundDialog(std::wstring message, std::wstring downloadPage, JvmLibraryProbe probe);
    RuntimeNotFoundDialog(const RuntimeNotFoundDialog&) = delete;
    RuntimeNotFoundDialog& operator=(const RuntimeNotFoundDialog&) = delete;

    // Runs the dialog modally, owned by `owner` (may be null): IDOK once a
    // usable folder was accepted, IDCANCEL for Cancel, Escape and the close
    // box, something else when the dialog cannot be created.
    INT_PTR show(HWND owner);

    // Takes a folder as the folder browser returns it: shows it as given,
    // probes it with a final "\" and enables OK only when it holds a JVM
    // library. Each call replaces the previous choice. Needs the open dialog.
    void chooseFolder(const std::wstring& path);

    HWND window() const { return dialog_; }
    const std::wstring& chosenFolder() const { return chosenFolder_; }
    const std::wstring& jvmLibraryPath() const { return jvmLibraryPath_; }

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void initialise(HWND dialog);
    void browse();

    std::wstring message_;
    std::wstring downloadPage_;
    JvmLibraryProbe probe_;
    HWND dialog_ = nullptr;
    HyperlinkControl link_;
    std::wstring chosenFolder_;
    std::wstring jvmLibraryPath_;
};

struct RuntimeNotFoundResult {
    INT_PTR endCode = 0;          // IDOK when a folder was accepted
    std::wstring folder;          // ends with "\"
    std::wstring jvmLibraryPath;
};

// Shows the runtime-not-found dialog modally and returns how it ended with
// the accepted folder and its JVM library (both empty unless it ended with OK).
RuntimeNotFoundResult showRuntimeNotFoundDialog(HWND owner, const std::wstring& message,
                                                const std::wstring& downloadPage, const JvmLibraryProbe& probe);
