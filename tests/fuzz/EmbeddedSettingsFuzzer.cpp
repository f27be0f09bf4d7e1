// The embedded settings resource of a stamped or damaged executable, and the
// encoder the build and the stamp tool write it with.
#include <vector>

#include "FuzzInput.h"
#include "config/EmbeddedSettings.h"

namespace {

std::uint32_t littleEndian32(const std::uint8_t* data)
{
    return static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
           (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
}

void appendUtf8(std::vector<std::uint8_t>& out, std::uint32_t point)
{
    if (point < 0x80) {
        out.push_back(static_cast<std::uint8_t>(point));
    } else if (point < 0x800) {
        out.push_back(static_cast<std::uint8_t>(0xC0 | (point >> 6)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out.push_back(static_cast<std::uint8_t>(0xE0 | (point >> 12)));
        out.push_back(static_cast<std::uint8_t>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (point & 0x3F)));
    } else {
        out.push_back(static_cast<std::uint8_t>(0xF0 | (point >> 18)));
        out.push_back(static_cast<std::uint8_t>(0x80 | ((point >> 12) & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (point & 0x3F)));
    }
}

void appendWide(std::wstring& text, std::uint32_t point)
{
    if (sizeof(wchar_t) == 2 && point > 0xFFFF) {
        text += static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
        text += static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
        text += static_cast<wchar_t>(point);
    }
}

// Valid text (the input's UTF-16 units with lone surrogates dropped) encodes
// and decodes to itself, every lone line feed turned into "\r\n".
void checkRoundTrip(const std::uint8_t* data, std::size_t size)
{
    const std::wstring units = wideFromFuzzBytes(data, size);
    std::vector<std::uint8_t> utf8;
    std::wstring expected;
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t point = static_cast<std::uint32_t>(units[i]);
        if (point >= 0xD800 && point <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            point = 0x10000 + ((point - 0xD800) << 10) + (static_cast<std::uint32_t>(units[++i]) - 0xDC00);
        } else if (point >= 0xD800 && point <= 0xDFFF) {
            continue;
        }
        if (point == '\n' && previous != '\r') {
            expected += L'\r';
        }
        appendUtf8(utf8, point);
        appendWide(expected, point);
        previous = point;
    }
    const std::vector<std::uint8_t> blob = encodeEmbeddedSettings(utf8.data(), utf8.size());
    fuzzCheck(blob.size() >= 8 && blob.size() % 2 == 0 && littleEndian32(blob.data() + 4) <= blob.size() - 8);
    const ExactBytes exact(blob.data(), blob.size());
    fuzzCheck(decodeEmbeddedSettings(exact.data(), exact.size()) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Any resource bytes: the text comes from the magic, the length and the
    // bytes it counts only, at most one unit per byte.
    const std::wstring decoded = decodeEmbeddedSettings(data, size);
    const bool wellFormed = size >= 8 && data[0] == 'E' && data[1] == 'S' && data[2] == 'v' && data[3] == '1' &&
                            littleEndian32(data + 4) <= size - 8;
    fuzzCheck(wellFormed || decoded.empty());
    if (wellFormed) {
        const std::size_t length = littleEndian32(data + 4);
        fuzzCheck(decoded.size() <= length);
        const ExactBytes counted(data, 8 + length);
        fuzzCheck(decodeEmbeddedSettings(counted.data(), counted.size()) == decoded);
        const ExactBytes cut(data, 8 + length - 1);
        fuzzCheck(decodeEmbeddedSettings(cut.data(), cut.size()).empty());
    }
    checkRoundTrip(data, size);
    return 0;
}
