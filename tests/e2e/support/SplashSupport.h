#pragma once
// The splash screen as the test driver sees it: the test images and the
// splash window of a running launcher.
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

// An image of tests/e2e/images: splash.png is 120 by 80 pixels, wide.png 3000
// by 60 (wider than any test screen).
inline std::wstring splashImagePath(const wchar_t* name)
{
    // A wide literal: the checkout's path may hold characters outside ASCII.
    std::wstring path = L"" E2E_SOURCE_ROOT;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path + L"\\tests\\e2e\\images\\" + name;
}

// The window of class "SplashScreenWindow" of a process, shown or not; null
// when it has none.
inline HWND splashWindowOf(DWORD processId)
{
    std::pair<DWORD, HWND> search{processId, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t name[32] = {};
            ::GetClassNameW(window, name, 32);
            if (owner == found->first && std::wstring(name) == L"SplashScreenWindow") {
                found->second = window;
            }
            return found->second == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}
