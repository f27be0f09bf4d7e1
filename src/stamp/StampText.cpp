#include "stamp/StampText.h"

#include <cstdint>

#include "config/EmbeddedSettings.h"

std::u16string utf16FromUtf8(const std::string& text)
{
    const std::wstring wide = wideFromUtf8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    std::u16string result;
    for (wchar_t c : wide) {
        const auto codePoint = static_cast<std::uint32_t>(c);
        if (codePoint > 0xFFFFu) {   // only where wchar_t has 32 bits
            result += static_cast<char16_t>(0xD800u + ((codePoint - 0x10000u) >> 10));
            result += static_cast<char16_t>(0xDC00u + ((codePoint - 0x10000u) & 0x3FFu));
        } else {
            result += static_cast<char16_t>(codePoint);
        }
    }
    return result;
}

std::string utf8FromUtf16(const std::u16string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t codePoint = text[i];
        if (codePoint >= 0xD800u && codePoint <= 0xDBFFu && i + 1 < text.size() && text[i + 1] >= 0xDC00u &&
            text[i + 1] <= 0xDFFFu) {
            codePoint = 0x10000u + ((codePoint - 0xD800u) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (codePoint >= 0xD800u && codePoint <= 0xDFFFu) {
            codePoint = 0xFFFDu;
        }
        if (codePoint < 0x80u) {
            result += static_cast<char>(codePoint);
        } else if (codePoint < 0x800u) {
            result += static_cast<char>(0xC0u | (codePoint >> 6));
            result += static_cast<char>(0x80u | (codePoint & 0x3Fu));
        } else if (codePoint < 0x10000u) {
            result += static_cast<char>(0xE0u | (codePoint >> 12));
            result += static_cast<char>(0x80u | ((codePoint >> 6) & 0x3Fu));
            result += static_cast<char>(0x80u | (codePoint & 0x3Fu));
        } else {
            result += static_cast<char>(0xF0u | (codePoint >> 18));
            result += static_cast<char>(0x80u | ((codePoint >> 12) & 0x3Fu));
            result += static_cast<char>(0x80u | ((codePoint >> 6) & 0x3Fu));
            result += static_cast<char>(0x80u | (codePoint & 0x3Fu));
        }
    }
    return result;
}
