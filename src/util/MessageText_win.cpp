#include "util/MessageText_win.h"

#include <windows.h>

std::wstring loadMessage(int id)
{
    // With a zero buffer size LoadStringW hands out a read-only pointer to the
    // resource text itself and its length (the text is not NUL-terminated).
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                     reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return std::wstring();
    }
    return std::wstring(text, static_cast<std::size_t>(length));
}

std::wstring failureText(const Failure& failure)
{
    return failureText(failure, loadMessage);
}
