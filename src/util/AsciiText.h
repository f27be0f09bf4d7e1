#pragma once
#include <cstdint>
#include <iterator>
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

// The decimal digits of a number. (std::to_wstring goes through the C
// library's wide printf, which brings a whole formatting engine into the
// executable.)
inline std::wstring decimalText(std::uint64_t value)
{
    wchar_t digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    return std::wstring(std::make_reverse_iterator(digits + count), std::make_reverse_iterator(digits));
}

// The decimal digits of a signed number, with "-" before a negative one.
inline std::wstring signedDecimalText(std::int64_t value)
{
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return (value < 0 ? L"-" : L"") + decimalText(magnitude);
}
