#include "ui/LinkColour.h"

#include <algorithm>
#include <climits>

#include "util/AsciiText.h"

namespace {

// Decimal conversion in the manner of the C library's: leading blanks, an
// optional sign, digits up to the first other character; saturates instead
// of overflowing.
long long decimalValue(const std::wstring& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // One more than INT_MAX, so that INT_MIN is reached and nothing overflows.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i) {
        value = std::min(value * 10 + (text[i] - L'0'), kLimit);
    }
    return negative ? -value : std::min(value, kLimit - 1);
}

std::uint8_t lowByte(long long value)
{
    return static_cast<std::uint8_t>(static_cast<unsigned long long>(value) & 0xFF);
}

} // namespace

std::optional<LinkColour> parseLinkColour(const std::wstring& text)
{
    const std::size_t firstComma = text.find(L',');
    if (firstComma == std::wstring::npos) {
        return std::nullopt;
    }
    const std::size_t secondComma = text.find(L',', firstComma + 1);
    if (secondComma == std::wstring::npos || secondComma + 1 == text.size()) {
        return std::nullopt;
    }
    const long long red = decimalValue(text.substr(0, firstComma));
    const long long green = decimalValue(text.substr(firstComma + 1, secondComma - firstComma - 1));
    const long long blue = decimalValue(text.substr(secondComma + 1));
    if (red == -1 || green == -1) {
        return std::nullopt;
    }
    return LinkColour{lowByte(red), lowByte(green), lowByte(blue)};
}

std::optional<LinkColour> linkColourFromStoredValue(bool isText, const unsigned char* data, std::size_t size)
{
    if (!isText || data == nullptr || size > kMaxLinkColourBytes) {
        return std::nullopt;
    }
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == L'\0') {
            return parseLinkColour(text);
        }
        text += c;
    }
    return std::nullopt;
}
