#include "jvm/MemoryOptions.h"

#include <limits>

#include "util/AsciiText.h"

namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kKilobyte = 1024;

std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b)
{
    if (a != 0 && b > kMaxU64 / a) {
        return kMaxU64;
    }
    return a * b;
}

std::uint64_t saturatingAppendDigit(std::uint64_t value, unsigned digit)
{
    const std::uint64_t shifted = saturatingMultiply(value, 10);
    if (shifted > kMaxU64 - digit) {
        return kMaxU64;
    }
    return shifted + digit;
}

// The number list of `text`, reading characters before position `end` only.
NumberList readNumbersBefore(const std::wstring& text, std::size_t end)
{
    NumberList list;
    list.start = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isAsciiDigit(text[i]) || text[i] == L':') {
            list.start = i;
            break;
        }
    }
    if (list.start == text.size()) {
        return list;
    }
    list.values.push_back(0);
    for (std::size_t i = list.start; i < end; ++i) {
        const wchar_t c = text[i];
        if (isAsciiDigit(c)) {
            list.values.back() = saturatingAppendDigit(list.values.back(), static_cast<unsigned>(c - L'0'));
        } else if (c == L':') {
            list.values.push_back(0);
        }
    }
    return list;
}

bool hasPrefix(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, 4, prefix) == 0;
}

std::uint64_t valueAt(const NumberList& list, std::size_t index)
{
    return index < list.values.size() ? list.values[index] : 0;
}

} // namespace

bool isPercentMemoryOption(const std::wstring& token)
{
    if (token.size() < 4 || !(hasPrefix(token, L"-Xms") || hasPrefix(token, L"-Xmx") || hasPrefix(token, L"-Xss"))) {
        return false;
    }
    const wchar_t last = token.back();
    return last == L'P' || last == L'p' || last == L'T' || last == L't';
}

NumberList readNumberList(const std::wstring& text)
{
    return readNumbersBefore(text, text.empty() ? 0 : text.size() - 1);
}

std::wstring rewritePercentMemoryOption(const std::wstring& token, const MemoryStatus& memory)
{
    const NumberList list = readNumberList(token);
    const std::uint64_t percentage = valueAt(list, 0);
    const std::uint64_t minimumMb = valueAt(list, 1);
    const std::uint64_t maximumMb = valueAt(list, 2);

    const wchar_t unit = token.empty() ? L'\0' : token.back();
    const std::uint64_t baseBytes = (unit == L'T' || unit == L't') ? memory.availableVirtualBytes : memory.totalPhysicalBytes;
    const std::uint64_t baseKb = baseBytes >> 10;

    // 2^64 is exactly representable; anything at or above it does not fit
    // (converting it would be undefined behaviour).
    const double kTwoTo64 = 18446744073709551616.0;
    const double share = static_cast<double>(baseKb) * (static_cast<double>(percentage) / 100.0);
    std::uint64_t sizeKb = share >= kTwoTo64 ? kMaxU64 : static_cast<std::uint64_t>(share);

    const std::uint64_t maximumKb = saturatingMultiply(maximumMb, kKilobyte);
    if (maximumMb != 0 && sizeKb > maximumKb) {
        sizeKb = maximumKb;
    }
    const std::uint64_t minimumKb = saturatingMultiply(minimumMb, kKilobyte);
    if (sizeKb < minimumKb) {
        sizeKb = minimumKb;
    }
    return token.substr(0, list.start) + decimalText(sizeKb) + L"K";
}

std::optional<std::uint64_t> deriveThreadStackSize(const std::wstring& token)
{
    if (token.size() < 4 || !hasPrefix(token, L"-Xss")) {
        return std::nullopt;
    }
    const std::wstring rest = token.substr(4);
    // A value that ends in a digit has no unit letter: it is a plain byte
    // count, and its last digit belongs to the number.
    const bool plainBytes = !rest.empty() && isAsciiDigit(rest.back());
    const NumberList list = plainBytes ? readNumbersBefore(rest, rest.size()) : readNumberList(rest);
    if (list.start != 0 || list.values.size() != 1) {
        return std::uint64_t{0};
    }
    std::uint64_t multiplier = 1;
    switch (rest.back()) {
    case L'K':
    case L'k':
        multiplier = std::uint64_t{1} << 10;
        break;
    case L'M':
    case L'm':
        multiplier = std::uint64_t{1} << 20;
        break;
    case L'G':
    case L'g':
        multiplier = std::uint64_t{1} << 30;
        break;
    default:
        break;
    }
    return saturatingMultiply(list.values.front(), multiplier);
}
