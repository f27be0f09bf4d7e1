#include "config/VersionNumber.h"

#include "util/MessageFormat.h"
#include "util/MessageIds.h"
#include "util/AsciiText.h"

namespace {

constexpr std::int32_t kComponentMaximum = 2147483647;

// A bound counts as unset when its four components are equal and that value
// is one of the fillers.
bool isUnsetBound(const VersionNumber& v)
{
    const std::int32_t first = v.components[0];
    for (std::int32_t component : v.components) {
        if (component != first) {
            return false;
        }
    }
    return first == kVersionFillLower || first == kVersionFillUpper;
}

bool isSignificant(std::int32_t component)
{
    return component != kVersionFillLower && component != kVersionFillUpper;
}

} // namespace

std::optional<VersionNumber> parseVersion(const std::wstring& text, std::int32_t fill)
{
    VersionNumber result;
    std::size_t position = 0;
    while (position < text.size() && !isAsciiDigit(text[position])) {
        ++position;
    }
    if (position == text.size()) {
        return std::nullopt;
    }
    std::size_t read = 0;
    while (read < result.components.size()) {
        std::int32_t value = 0;
        while (position < text.size() && isAsciiDigit(text[position])) {
            const std::int32_t digit = static_cast<std::int32_t>(text[position] - L'0');
            if (value > (kComponentMaximum - digit) / 10) {
                return std::nullopt;
            }
            value = value * 10 + digit;
            ++position;
        }
        result.components[read++] = value;
        while (position < text.size() && !isAsciiDigit(text[position])) {
            ++position;
        }
        if (position == text.size()) {
            break;
        }
    }
    for (std::size_t i = read; i < result.components.size(); ++i) {
        result.components[i] = fill;
    }
    return result;
}

int compareVersions(const VersionNumber& a, const VersionNumber& b)
{
    for (std::size_t i = 0; i < a.components.size(); ++i) {
        if (a.components[i] != b.components[i]) {
            return a.components[i] < b.components[i] ? -1 : 1;
        }
    }
    return 0;
}

bool operator==(const VersionNumber& a, const VersionNumber& b)
{
    return a.components == b.components;
}

bool operator!=(const VersionNumber& a, const VersionNumber& b)
{
    return !(a == b);
}

bool inRange(const VersionNumber& v, const VersionRange& range)
{
    if (range.hasUpperBound && compareVersions(v, range.upper) > 0) {
        return false;
    }
    return compareVersions(v, range.lower) >= 0;
}

bool matchesPreferredVersion(const VersionNumber& candidate, const VersionNumber& preferred)
{
    std::size_t significant = preferred.components.size();
    while (significant > 0 && preferred.components[significant - 1] == 0) {
        --significant;
    }
    for (std::size_t i = 0; i < significant; ++i) {
        if (candidate.components[i] != preferred.components[i]) {
            return false;
        }
    }
    return true;
}

std::wstring formatVersion(const VersionNumber& v)
{
    std::size_t count = v.components.size();
    while (count > 0 && !isSignificant(v.components[count - 1])) {
        --count;
    }
    if (count == 0) {
        return L"0.0.0.0";
    }
    if (count == 1 && v.components[1] != kVersionFillUpper) {
        count = 2;
    }
    std::wstring text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += L'.';
        }
        text += decimalText(v.components[i]);
    }
    return text;
}

VersionRange versionRangeFromSettings(const std::wstring& minimumText, const std::wstring& maximumText)
{
    VersionRange range;
    if (minimumText != L"any") {
        range.lower = parseVersion(minimumText, kVersionFillLower).value_or(VersionNumber{});
    }
    if (maximumText == L"any") {
        range.upper.components.fill(kVersionFillUpper);
        range.hasUpperBound = true;
    } else if (std::optional<VersionNumber> upper = parseVersion(maximumText, kVersionFillUpper)) {
        range.upper = *upper;
        range.hasUpperBound = true;
    }
    return range;
}

std::wstring describeVersionRange(const VersionRange& range, const std::function<std::wstring(int)>& loadMessage)
{
    const bool lowerSet = !isUnsetBound(range.lower);
    const bool upperSet = range.hasUpperBound && !isUnsetBound(range.upper);
    if (!lowerSet && !upperSet) {
        return loadMessage(IDS_VERSION_LATEST);
    }
    if (!lowerSet) {
        return formatMessage(loadMessage(IDS_VERSION_MAXIMUM), {formatVersion(range.upper)});
    }
    if (!upperSet) {
        return formatMessage(loadMessage(IDS_VERSION_MINIMUM), {formatVersion(range.lower)});
    }
    if (range.lower == range.upper) {
        return formatMessage(loadMessage(IDS_VERSION_REQUIRED), {formatVersion(range.lower)});
    }
    return formatMessage(loadMessage(IDS_VERSION_BETWEEN), {formatVersion(range.lower), formatVersion(range.upper)});
}
