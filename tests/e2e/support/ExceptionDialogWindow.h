#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/ExceptionDialogIds.h"

// What a control of another process holds. GetWindowText gives only the text
// the window was created with, not what an edit control was given later.
inline std::wstring controlText(HWND control)
{
    std::vector<wchar_t> text(65536, L'\0');
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          5000, &ignored);
    return text.data();
}

// The open "Java Exception" dialog whose trace box holds `marker`, or null.
// The driver's dialog record carries no window handle, and tests may run side
// by side, so each run's trace carries a marker of its own.
inline HWND findExceptionDialog(const std::wstring& marker)
{
    struct Search {
        std::wstring marker;
        HWND found = nullptr;
    } search{marker, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* state = reinterpret_cast<Search*>(parameter);
            wchar_t title[64] = {};
            ::GetWindowTextW(window, title, 64);
            if (std::wstring(title) == L"Java Exception" &&
                controlText(::GetDlgItem(window, IDC_EXCEPTION_TRACE)).find(state->marker) != std::wstring::npos) {
                state->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
