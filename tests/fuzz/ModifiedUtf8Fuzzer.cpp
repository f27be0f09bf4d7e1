// The modified UTF-8 of an exception's trace text, as the VM hands it out.
#include <string_view>

#include "FuzzInput.h"
#include "jvm/ModifiedUtf8.h"

namespace {

// Each UTF-16 unit on its own (surrogates included, NUL as C0 80), as JNI
// writes modified UTF-8.
std::string modifiedUtf8(const std::wstring& units)
{
    std::string bytes;
    for (wchar_t c : units) {
        const unsigned unit = static_cast<unsigned>(c);
        if (unit != 0 && unit < 0x80) {
            bytes += static_cast<char>(unit);
        } else if (unit < 0x800) {
            bytes += static_cast<char>(0xC0 | (unit >> 6));
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            bytes += static_cast<char>(0xE0 | (unit >> 12));
            bytes += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return bytes;
}

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The same units with every surrogate pair written as one standard 4-byte
// sequence, which the decoder accepts as well.
std::string withFourByteSequences(const std::wstring& units)
{
    std::string bytes;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (i + 1 < units.size() && isHighSurrogate(units[i]) && isLowSurrogate(units[i + 1])) {
            const unsigned point = 0x10000 + ((static_cast<unsigned>(units[i]) - 0xD800) << 10) +
                                   (static_cast<unsigned>(units[i + 1]) - 0xDC00);
            bytes += static_cast<char>(0xF0 | (point >> 18));
            bytes += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (point & 0x3F));
            ++i;
        } else {
            bytes += modifiedUtf8(units.substr(i, 1));
        }
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Any bytes: the decoder stays inside them (libFuzzer's buffer is exact),
    // gives at most one unit per byte and only UTF-16 units.
    const std::wstring decoded = decodeModifiedUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzzCheck(decoded.size() <= size);
    for (wchar_t c : decoded) {
        fuzzCheck(static_cast<unsigned>(c) <= 0xFFFF);
    }

    // Any UTF-16 text, encoded, decodes to itself.
    const std::wstring units = wideFromFuzzBytes(data, size);
    const std::string encoded = modifiedUtf8(units);
    const ExactBytes exact(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size());
    fuzzCheck(decodeModifiedUtf8(std::string_view(reinterpret_cast<const char*>(exact.data()), exact.size())) == units);
    fuzzCheck(decodeModifiedUtf8(withFourByteSequences(units)) == units);
    return 0;
}
