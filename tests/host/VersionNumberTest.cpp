#include <gtest/gtest.h>

#include <string>

#include "util/MessageIds.h"
#include "config/VersionNumber.h"

namespace {

using Components = std::array<std::int32_t, 4>;

VersionNumber version(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    VersionNumber v;
    v.components = {a, b, c, d};
    return v;
}

std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(VersionNumber, Parse)
{
    struct Row {
        std::wstring text;
        std::int32_t fill;
        bool ok;
        Components expected;
    };
    const Row rows[] = {
        {L"1.8.0_251", 0, true, {1, 8, 0, 251}},
        {L"1.8.0.251", 0, true, {1, 8, 0, 251}},
        {L"1.8", 0, true, {1, 8, 0, 0}},
        {L"1.8", 65535, true, {1, 8, 65535, 65535}},
        {L"11", 65535, true, {11, 65535, 65535, 65535}},
        {L"11.0.2", 0, true, {11, 0, 2, 0}},
        {L"jdk-11.0.2+9", 0, true, {11, 0, 2, 9}},
        {L"1.8.0_251-b08", 0, true, {1, 8, 0, 251}},
        {L"1..__--8", 0, true, {1, 8, 0, 0}},
        {L"v 007. 08", 0, true, {7, 8, 0, 0}},
        {L"2147483647", 0, true, {2147483647, 0, 0, 0}},
        {L"1.2147483648", 0, false, {0, 0, 0, 0}},
        {L"12345678901", 0, false, {0, 0, 0, 0}},
        {L"1.8.0.99999999999", 65535, false, {0, 0, 0, 0}},
        {L"1.2.3.4.99999999999", 0, true, {1, 2, 3, 4}},
        {L"", 0, false, {0, 0, 0, 0}},
        {L"none", 65535, false, {0, 0, 0, 0}},
        {L"ANY", 0, false, {0, 0, 0, 0}},
        {L"\x0661.2", 0, true, {2, 0, 0, 0}},  // only ASCII digits count
    };
    for (const Row& row : rows) {
        const std::optional<VersionNumber> parsed = parseVersion(row.text, row.fill);
        EXPECT_EQ(parsed.has_value(), row.ok) << "\"" << narrow(row.text) << "\"";
        EXPECT_EQ(parsed.value_or(VersionNumber{}).components, row.expected) << "\"" << narrow(row.text) << "\"";
    }
}

TEST(VersionNumber, CompareIsNumericAndLexicographic)
{
    struct Row {
        std::wstring a;
        std::wstring b;
        int expected;
    };
    const Row rows[] = {
        {L"10", L"9", 1},
        {L"1.10", L"1.9", 1},
        {L"1.8.0_251", L"1.8", 1},
        {L"1.8.0_251", L"1.8.0.251", 0},
        {L"1.8.0.251", L"9", -1},
        {L"11", L"11.0.0.0", 0},
        {L"1.2.3.4", L"1.2.3.5", -1},
    };
    for (const Row& row : rows) {
        const int result = compareVersions(*parseVersion(row.a, 0), *parseVersion(row.b, 0));
        EXPECT_EQ(result, row.expected) << narrow(row.a) << " vs " << narrow(row.b);
    }
}

TEST(VersionNumber, RangeFromSettingsAndInRange)
{
    struct Row {
        std::wstring minimum;
        std::wstring maximum;
        Components candidate;
        bool admitted;
    };
    const Row rows[] = {
        {L"1.6", L"1.8", {1, 6, 0, 0}, true},
        {L"1.6", L"1.8", {1, 7, 0, 80}, true},
        {L"1.6", L"1.8", {1, 8, 0, 251}, true},
        {L"1.6", L"1.8", {1, 5, 0, 22}, false},
        {L"1.6", L"1.8", {9, 0, 4, 0}, false},
        {L"", L"any", {65535, 0, 0, 0}, true},
        {L"", L"", {65535, 0, 0, 0}, true},
        {L"", L"none", {65535, 0, 0, 0}, true},
        {L"", L"ANY", {70000, 0, 0, 0}, true},
        {L"", L"11", {11, 0, 2, 0}, true},
        {L"", L"11", {12, 0, 0, 0}, false},
        {L"any", L"", {0, 0, 0, 0}, true},
        {L"ANY", L"", {0, 0, 0, 0}, true},
        {L"11", L"", {10, 9, 9, 9}, false},
        {L"1.8.0_251", L"1.8.0_251", {1, 8, 0, 251}, true},
        {L"1.8.0_251", L"1.8.0_251", {1, 8, 0, 252}, false},
        // An upper bound that cannot be parsed does not shut every runtime out.
        {L"", L"99999999999", {17, 0, 1, 0}, true},
    };
    for (const Row& row : rows) {
        VersionNumber candidate;
        candidate.components = row.candidate;
        EXPECT_EQ(inRange(candidate, versionRangeFromSettings(row.minimum, row.maximum)), row.admitted)
            << "min \"" << narrow(row.minimum) << "\" max \"" << narrow(row.maximum) << "\" candidate "
            << row.candidate[0] << "." << row.candidate[1] << "." << row.candidate[2] << "." << row.candidate[3];
    }

    const VersionRange any = versionRangeFromSettings(L"any", L"any");
    EXPECT_EQ(any.lower.components, (Components{0, 0, 0, 0}));
    EXPECT_EQ(any.upper.components, (Components{65535, 65535, 65535, 65535}));
    EXPECT_TRUE(any.hasUpperBound);
    EXPECT_FALSE(versionRangeFromSettings(L"", L"").hasUpperBound);
}

TEST(VersionNumber, PreferredVersionMatch)
{
    struct Row {
        std::wstring candidate;
        std::wstring preferred;
        bool matches;
    };
    const Row rows[] = {
        {L"1.8.0_251", L"1.8", true},
        {L"1.8", L"1.8", true},
        {L"1.7.0_80", L"1.8", false},
        {L"1.8.0_251", L"1.8.0_251", true},
        {L"1.8.0_252", L"1.8.0_251", false},
        {L"11.0.2", L"11", true},
        {L"11", L"11", true},
        {L"1.0.8", L"1.0.8", true},
        {L"1.1.8", L"1.0.8", false},
        {L"17.0.1", L"", true},
        {L"17.0.1", L"none", true},
    };
    for (const Row& row : rows) {
        const VersionNumber candidate = parseVersion(row.candidate, 0).value_or(VersionNumber{});
        const VersionNumber preferred = parseVersion(row.preferred, 0).value_or(VersionNumber{});
        EXPECT_EQ(matchesPreferredVersion(candidate, preferred), row.matches)
            << narrow(row.candidate) << " preferred " << narrow(row.preferred);
    }
}

TEST(VersionNumber, Format)
{
    struct Row {
        VersionNumber v;
        std::wstring text;
    };
    const Row rows[] = {
        {version(0, 0, 0, 0), L"0.0.0.0"},
        {version(65535, 65535, 65535, 65535), L"0.0.0.0"},
        {version(1, 0, 0, 0), L"1.0"},
        {version(1, 6, 0, 0), L"1.6"},
        {version(1, 8, 65535, 65535), L"1.8"},
        {version(1, 8, 0, 251), L"1.8.0.251"},
        {version(11, 0, 2, 0), L"11.0.2"},
        {version(11, 65535, 65535, 65535), L"11"},
        {version(11, 0, 65535, 65535), L"11.0"},
        {version(2147483647, 0, 0, 0), L"2147483647.0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(formatVersion(row.v), row.text) << narrow(row.text);
    }
}

TEST(VersionNumber, DescribeRange)
{
    const auto load = [](int id) -> std::wstring {
        switch (id) {
        case IDS_VERSION_LATEST: return L"latest version";
        case IDS_VERSION_MAXIMUM: return L"maximum version %s";
        case IDS_VERSION_MINIMUM: return L"minimum version %s";
        case IDS_VERSION_REQUIRED: return L"version %s is required";
        case IDS_VERSION_BETWEEN: return L"version between %s and %s";
        default: return L"?";
        }
    };
    struct Row {
        std::wstring minimum;
        std::wstring maximum;
        std::wstring phrase;
    };
    const Row rows[] = {
        {L"", L"", L"latest version"},
        {L"any", L"any", L"latest version"},
        {L"1.7", L"", L"minimum version 1.7"},
        {L"", L"11", L"maximum version 11"},
        {L"", L"1.8", L"maximum version 1.8"},
        {L"1.8.0_251", L"1.8.0_251", L"version 1.8.0.251 is required"},
        {L"1.6", L"1.8", L"version between 1.6 and 1.8"},
        {L"1.8", L"1.8", L"version between 1.8 and 1.8"},
        {L"11", L"17", L"version between 11.0 and 17"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(describeVersionRange(versionRangeFromSettings(row.minimum, row.maximum), load), row.phrase)
            << "min \"" << narrow(row.minimum) << "\" max \"" << narrow(row.maximum) << "\"";
    }
}

} // namespace
