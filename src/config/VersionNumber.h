#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Four-component runtime version: major, minor, third, fourth. Each component
// lies within 0 to 2147483647; 0 fills the missing components of a lower
// bound, a registry version or a preferred version, 65535 those of an upper
// bound. In display and in the test for an unset bound, 0 and 65535 both
// count as no value.
struct VersionNumber {
    std::array<std::int32_t, 4> components{};
};

// The configured inclusive range of admitted runtime versions.
struct VersionRange {
    VersionNumber lower;
    VersionNumber upper;
    bool hasUpperBound = false;
};

constexpr std::int32_t kVersionFillLower = 0;
constexpr std::int32_t kVersionFillUpper = 65535;

// Reads up to four runs of decimal digits from `text`; everything before the
// first digit is ignored and any run of non-digits between two runs is one
// separator ("jdk-11.0.2+9" gives 11.0.2.9, "1.8.0_251-b08" gives 1.8.0.251).
// Components not given are set to `fill`. Fails (nullopt) for a text without
// any digit or with a component above 2147483647; callers then use 0.0.0.0.
std::optional<VersionNumber> parseVersion(const std::wstring& text, std::int32_t fill);

// Lexicographic comparison, major first: negative, 0 or positive.
int compareVersions(const VersionNumber& a, const VersionNumber& b);

bool operator==(const VersionNumber& a, const VersionNumber& b);
bool operator!=(const VersionNumber& a, const VersionNumber& b);

// True when lower <= v and, when the range has an upper bound, v <= upper.
bool inRange(const VersionNumber& v, const VersionRange& range);

// True when the candidate starts with the preferred version's significant
// components: those before its trailing zero components. A preferred 1.8
// matches every 1.8.x.y; 0.0.0.0 matches every candidate.
bool matchesPreferredVersion(const VersionNumber& candidate, const VersionNumber& preferred);

// Display text: the components up to the last one that is neither 0 nor
// 65535, joined by "."; a version with only its first component significant
// shows its second as well (1.0, 1.6) unless that one is the 65535 filler of
// an upper bound (a maximum of 11 shows as 11); "0.0.0.0" when no component
// is significant.
std::wstring formatVersion(const VersionNumber& v);

// The range from the settings' "Minimum Version" and "Maximum Version" texts:
// the exact keyword "any" admits everything; otherwise the text is parsed,
// the lower bound filled with 0 and the upper bound with 65535. A lower bound
// that does not parse is 0.0.0.0; an upper bound that does not parse (empty,
// no digit, a component too large) leaves the range without an upper bound.
VersionRange versionRangeFromSettings(const std::wstring& minimumText, const std::wstring& maximumText);

// The phrase that names the admitted versions, from the string-table texts
// 217 to 221 (obtained through `loadMessage`), filled with formatVersion of
// the bounds.
std::wstring describeVersionRange(const VersionRange& range, const std::function<std::wstring(int)>& loadMessage);
