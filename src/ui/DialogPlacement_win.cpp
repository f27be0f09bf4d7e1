#include "ui/DialogPlacement_win.h"

void centreDialog(HWND dialog)
{
    RECT window{};
    ::GetWindowRect(dialog, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    const bool ownerUsable = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner);
    ::GetMonitorInfoW(::MonitorFromWindow(ownerUsable ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    RECT centreOn = area;
    if (ownerUsable) {
        ::GetWindowRect(owner, &centreOn);
    }
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG left = centreOn.left + ((centreOn.right - centreOn.left) - width) / 2;
    LONG top = centreOn.top + ((centreOn.bottom - centreOn.top) - height) / 2;
    if (left + width > area.right) {
        left = area.right - width;
    }
    if (top + height > area.bottom) {
        top = area.bottom - height;
    }
    if (left < area.left) {
        left = area.left;
    }
    if (top < area.top) {
        top = area.top;
    }
    ::SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
