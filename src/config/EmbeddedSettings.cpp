#include "config/EmbeddedSettings.h"

#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr wchar_t kReplacement = L'\xFFFD';

std::uint32_t readLittleEndian32(const std::uint8_t* data)
{
    return static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
           (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
}

void appendCodePoint(std::wstring& text, std::uint32_t codePoint)
{
    if (sizeof(wchar_t) == 2 && codePoint > 0xFFFFu) {
        const std::uint32_t offset = codePoint - 0x10000u;
        text += static_cast<wchar_t>(0xD800u + (offset >> 10));
        text += static_cast<wchar_t>(0xDC00u + (offset & 0x3FFu));
    } else {
        text += static_cast<wchar_t>(codePoint);
    }
}

} // namespace

std::wstring wideFromUtf8(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    text.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = data[i];
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1Fu;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0Fu;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07u;
            minimum = 0x10000;
        }
        bool valid = length != 0 && size - i >= length;
        for (std::size_t k = 1; valid && k < length; ++k) {
            const std::uint8_t next = data[i + k];
            if ((next & 0xC0u) != 0x80u) {
                valid = false;
            } else {
                codePoint = (codePoint << 6) | (next & 0x3Fu);
            }
        }
        if (valid && (codePoint < minimum || codePoint > 0x10FFFFu || (codePoint >= 0xD800u && codePoint <= 0xDFFFu))) {
            valid = false;
        }
        if (!valid) {
            // One replacement per bad lead byte; the next byte starts afresh.
            text += kReplacement;
            ++i;
            continue;
        }
        appendCodePoint(text, codePoint);
        i += length;
    }
    return text;
}

std::wstring decodeEmbeddedSettings(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < kHeaderSize || data[0] != 'E' || data[1] != 'S' || data[2] != 'v' ||
        data[3] != '1') {
        return std::wstring();
    }
    const std::uint32_t length = readLittleEndian32(data + 4);
    if (length > size - kHeaderSize) {
        return std::wstring();
    }
    std::vector<std::uint8_t> plain(length);
    std::uint32_t state = kEmbeddedSettingsSeed;
    for (std::uint32_t i = 0; i < length; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        plain[i] = static_cast<std::uint8_t>(data[kHeaderSize + i] ^ (state & 0xFFu));
    }
    return wideFromUtf8(plain.data(), plain.size());
}

std::vector<std::uint8_t> encodeEmbeddedSettings(const std::uint8_t* utf8, std::size_t size)
{
    std::vector<std::uint8_t> plain;
    plain.reserve(size + size / 16);
    for (std::size_t i = 0; i < size; ++i) {
        if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) {
            plain.push_back('\r');
        }
        plain.push_back(utf8[i]);
    }
    std::vector<std::uint8_t> blob{'E', 'S', 'v', '1'};
    const std::uint32_t length = static_cast<std::uint32_t>(plain.size());
    for (int shift = 0; shift < 32; shift += 8) {
        blob.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    std::uint32_t state = kEmbeddedSettingsSeed;
    for (std::uint8_t byte : plain) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        blob.push_back(static_cast<std::uint8_t>(byte ^ (state & 0xFFu)));
    }
    if (blob.size() % 2 != 0) {
        blob.push_back(0);
    }
    return blob;
}
