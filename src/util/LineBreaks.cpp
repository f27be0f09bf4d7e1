#include "util/LineBreaks.h"

std::wstring withCrLfLineBreaks(const std::wstring& text)
{
    std::wstring result;
    result.reserve(text.size() + text.size() / 16);
    for (std::size_t index = 0; index < text.size(); ++index) {
        const wchar_t c = text[index];
        if (c == L'\r') {
            result += L"\r\n";
            if (index + 1 < text.size() && text[index + 1] == L'\n') {
                ++index;
            }
        } else if (c == L'\n') {
            result += L"\r\n";
        } else {
            result += c;
        }
    }
    return result;
}
