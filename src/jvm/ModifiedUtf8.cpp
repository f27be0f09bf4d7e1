#include "jvm/ModifiedUtf8.h"

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::wstring decodeModifiedUtf8(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    std::size_t index = 0;
    while (index < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[index]);
        std::size_t length = 0;
        unsigned long value = 0;
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            ++index;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            value = lead & 0x07;
        } else {
            // A stray continuation byte or an invalid lead byte.
            text += kReplacement;
            ++index;
            continue;
        }
        std::size_t taken = 1;
        while (taken < length && index + taken < bytes.size() &&
               isContinuation(static_cast<unsigned char>(bytes[index + taken]))) {
            value = (value << 6) | (static_cast<unsigned char>(bytes[index + taken]) & 0x3F);
            ++taken;
        }
        index += taken;
        if (taken < length) {
            // Truncated: the lead and the continuation bytes seen stand for one bad character.
            text += kReplacement;
        } else if (length < 4) {
            // Overlong two-byte forms (C0 80 for NUL) are part of the modified encoding.
            text += static_cast<wchar_t>(value);
        } else if (value >= 0x10000 && value <= 0x10FFFF) {
            value -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (value >> 10));
            text += static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
        } else {
            text += kReplacement;
        }
    }
    return text;
}
