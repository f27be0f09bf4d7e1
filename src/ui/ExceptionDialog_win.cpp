#include "ui/ExceptionDialog_win.h"

#include <windows.h>

#include <vector>

#include "ui/DialogPlacement_win.h"
#include "ui/ExceptionDialogIds.h"
#include "ui/ExceptionDialogLayout.h"
#include "util/LineBreaks.h"

namespace {

// State of one open dialog, reached through the window's user data.
struct ExceptionDialogState {
    const std::wstring* trace = nullptr;
    SIZE initialClient{};
    SIZE initialWindow{};
    // The controls of the resize rules that the dialog has, in their first
    // places: the rule's index and the rectangle.
    std::vector<std::pair<std::size_t, LayoutRect>> initialRects;
    HWND sizeGrip = nullptr;
};

LayoutRect childRect(HWND dialog, HWND child)
{
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return LayoutRect{rect.left, rect.top, rect.right, rect.bottom};
}

void initialiseDialog(HWND dialog, ExceptionDialogState& state)
{
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    ::SetWindowLongPtrW(dialog, GWL_STYLE, ::GetWindowLongPtrW(dialog, GWL_STYLE) | WS_CLIPCHILDREN);

    HWND trace = ::GetDlgItem(dialog, IDC_EXCEPTION_TRACE);
    // Lift the default limit of about 32K characters: deep traces are longer.
    ::SendMessageW(trace, EM_SETLIMITTEXT, 0, 0);
    ::SetWindowTextW(trace, state.trace->c_str());
    ::SendMessageW(trace, EM_SETREADONLY, TRUE, 0);

    HWND icon = ::GetDlgItem(dialog, IDC_EXCEPTION_ICON);
    if (icon != nullptr && ::SendMessageW(icon, STM_GETICON, 0, 0) == 0) {
        ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_ERROR)), 0);
    }

    centreDialog(dialog);

    RECT client{};
    ::GetClientRect(dialog, &client);
    state.initialClient = SIZE{client.right, client.bottom};
    RECT window{};
    ::GetWindowRect(dialog, &window);
    state.initialWindow = SIZE{window.right - window.left, window.bottom - window.top};

    const int gripWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    const int gripHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    state.sizeGrip = ::CreateWindowExW(
        0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN,
        client.right - gripWidth, client.bottom - gripHeight, gripWidth, gripHeight, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EXCEPTION_SIZE_GRIP)), ::GetModuleHandleW(nullptr),
        nullptr);

    const FixedList<ResizeRule> rules = exceptionDialogResizeRules();
    for (std::size_t rule = 0; rule < rules.size(); ++rule) {
        if (HWND control = ::GetDlgItem(dialog, rules[rule].controlId)) {
            state.initialRects.emplace_back(rule, childRect(dialog, control));
        }
    }
}

void layoutDialog(HWND dialog, const ExceptionDialogState& state, int clientWidth, int clientHeight)
{
    const int widthDelta = clientWidth - state.initialClient.cx;
    const int heightDelta = clientHeight - state.initialClient.cy;
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(state.initialRects.size()));
    for (const auto& [index, initial] : state.initialRects) {
        const ResizeRule& rule = exceptionDialogResizeRules()[index];
        HWND control = ::GetDlgItem(dialog, rule.controlId);
        if (control == nullptr) {
            continue;
        }
        const LayoutRect rect = resizedRect(initial, rule.anchors, widthDelta, heightDelta);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (positions != nullptr) {
            positions = ::DeferWindowPos(positions, control, nullptr, rect.left, rect.top, rect.right - rect.left,
                                         rect.bottom - rect.top, flags);
        } else {
            ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                           flags);
        }
    }
    if (positions != nullptr) {
        ::EndDeferWindowPos(positions);
    }
    // The transparent group box and the texts leave traces of their old places.
    ::InvalidateRect(dialog, nullptr, TRUE);
}

INT_PTR CALLBACK exceptionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<ExceptionDialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        initialiseDialog(dialog, *reinterpret_cast<ExceptionDialogState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EXCEPTION_IGNORE || LOWORD(wParam) == IDC_EXCEPTION_STOP) {
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_SIZE:
        if (state == nullptr || wParam == SIZE_MINIMIZED) {
            return FALSE;
        }
        if (state->sizeGrip != nullptr) {
            ::ShowWindow(state->sizeGrip, wParam == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
        }
        layoutDialog(dialog, *state, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        if (state == nullptr || state->initialWindow.cx == 0) {
            return FALSE;
        }
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize =
            POINT{state->initialWindow.cx, state->initialWindow.cy};
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool askToStopAfterException(const std::wstring& trace)
{
    if (trace.empty()) {
        return false;
    }
    ExceptionDialogState state;
    const std::wstring shown = withCrLfLineBreaks(trace);
    state.trace = &shown;
    const INT_PTR result =
        ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EXCEPTION_DIALOG), ::GetActiveWindow(),
                          exceptionDialogProc, reinterpret_cast<LPARAM>(&state));
    return result != IDC_EXCEPTION_IGNORE;
}
