#include "ui/RuntimeNotFoundDialog_win.h"

#include <utility>

#include "ui/DialogPlacement_win.h"
#include "ui/RuntimeNotFoundDialogIds.h"
#include "ui/SystemLibraries_win.h"
#include "util/MessageIds.h"
#include "util/MessageText_win.h"
#include "util/PathText.h"

RuntimeNotFoundDialog::RuntimeNotFoundDialog(std::wstring message, std::wstring downloadPage, JvmLibraryProbe probe)
    : message_(std::move(message)), downloadPage_(std::move(downloadPage)), probe_(std::move(probe))
{
    link_.setColours(RGB(0, 0, 255), RGB(128, 0, 128));
}

INT_PTR RuntimeNotFoundDialog::show(HWND owner)
{
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RUNTIME_NOT_FOUND), owner,
                             &RuntimeNotFoundDialog::dialogProc, reinterpret_cast<LPARAM>(this));
}

void RuntimeNotFoundDialog::initialise(HWND dialog)
{
    dialog_ = dialog;
    HWND link = ::GetDlgItem(dialog, IDC_RUNTIME_LINK);
    if (!link_.hasNormalFont()) {
        link_.setNormalFont(reinterpret_cast<HFONT>(::SendMessageW(link, WM_GETFONT, 0, 0)));
    }
    if (!downloadPage_.empty()) {
        ::SetWindowTextW(link, downloadPage_.c_str());
    }
    link_.attach(link);
    ::SetDlgItemTextW(dialog, IDC_RUNTIME_MESSAGE, message_.c_str());
    ::EnableWindow(::GetDlgItem(dialog, IDC_RUNTIME_OK), FALSE);

    // The template names the error icon by number, which only the system
    // holds.
    HWND icon = ::GetDlgItem(dialog, IDC_RUNTIME_ICON);
    if (icon != nullptr && ::SendMessageW(icon, STM_GETICON, 0, 0) == 0) {
        ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_ERROR)), 0);
    }
    centreDialog(dialog);
}

void RuntimeNotFoundDialog::chooseFolder(const std::wstring& path)
{
    ::SetDlgItemTextW(dialog_, IDC_RUNTIME_FOLDER, path.c_str());
    chosenFolder_ = withTrailingSeparator(path);
    jvmLibraryPath_ = probe_ ? probe_(chosenFolder_) : std::wstring();
    ::EnableWindow(::GetDlgItem(dialog_, IDC_RUNTIME_OK), jvmLibraryPath_.empty() ? FALSE : TRUE);
}

void RuntimeNotFoundDialog::browse()
{
    const ShellFunctions& shell = shellFunctions();
    if (shell.browseForFolder == nullptr || shell.pathFromIdList == nullptr) {
        return;
    }
    // The folder browser of the new style runs on COM.
    const ComScope com;
    const std::wstring title = loadMessage(IDS_BROWSE_FOR_JRE);
    BROWSEINFOW browse{};
    browse.hwndOwner = dialog_;
    browse.pidlRoot = nullptr;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    PIDLIST_ABSOLUTE folder = shell.browseForFolder(&browse);
    if (folder == nullptr) {
        return;
    }
    wchar_t path[MAX_PATH] = {};
    const bool havePath = shell.pathFromIdList(folder, path) != FALSE;
    ComScope::freeMemory(folder);
    if (havePath) {
        chooseFolder(path);
    }
}

INT_PTR CALLBACK RuntimeNotFoundDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<RuntimeNotFoundDialog*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->initialise(dialog);
        return TRUE;
    }
    auto* self = reinterpret_cast<RuntimeNotFoundDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr || message != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDC_RUNTIME_OK:
        // Only a usable folder ends the dialog with OK, whoever sent the
        // command: the button itself is disabled until then.
        if (!self->jvmLibraryPath_.empty()) {
            ::EndDialog(dialog, IDOK);
        }
        return TRUE;
    case IDC_RUNTIME_CANCEL:
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_RUNTIME_BROWSE:
        self->browse();
        return TRUE;
    default:
        return FALSE;
    }
}

RuntimeNotFoundResult showRuntimeNotFoundDialog(HWND owner, const std::wstring& message,
                                                const std::wstring& downloadPage, const JvmLibraryProbe& probe)
{
    RuntimeNotFoundDialog dialog(message, downloadPage, probe);
    RuntimeNotFoundResult result;
    result.endCode = dialog.show(owner);
    if (result.endCode == IDOK) {
        result.folder = dialog.chosenFolder();
        result.jvmLibraryPath = dialog.jvmLibraryPath();
    }
    return result;
}
