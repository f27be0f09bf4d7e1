#pragma once
#include <string>

// Character tests that do not depend on the C library's locale: settings,
// versions and option values are compared by their ASCII letters and digits.

inline bool isAsciiDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

inline wchar_t asciiLower(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// True when the texts are equal once ASCII letters are compared without case.
inline bool equalsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}
