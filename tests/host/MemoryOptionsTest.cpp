#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "JvmTestFakes.h"
#include "jvm/MemoryOptions.h"

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(MemoryOptions, PercentOptionTest)
{
    struct Row {
        std::wstring token;
        bool percent;
    };
    const Row rows[] = {
        {L"-Xmx50P", true},     {L"-Xms50p", true},      {L"-Xss10T", true},   {L"-Xmx1:512t", true},
        {L"-XMX50P", false},    {L"-xmx50P", false},     {L"-Xmn50P", false},  {L"-Xmx512m", false},
        {L"-Xmx50P ", false},   {L"-Xm", false},         {L"", false},         {L"-Xmx", false},
        {L"-Dp=-Xmx50P", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isPercentMemoryOption(row.token), row.percent) << printable(row.token);
    }
}

TEST(MemoryOptions, ReadNumberList)
{
    struct Row {
        std::wstring text;
        std::size_t start;
        std::vector<std::uint64_t> values;
    };
    const Row rows[] = {
        {L"-Xmx50:256:2048P", 4, {50, 256, 2048}},
        {L"-Xmx:512P", 4, {0, 512}},
        {L"-Xmx1::3P", 4, {1, 0, 3}},
        {L"1024k", 0, {1024}},
        {L"50", 0, {5}},  // the last character is the unit position
        {L"5", 0, {0}},
        {L":", 0, {0}},
        {L"1a2b3k", 0, {123}},
        {L"P", 1, {}},
        {L"", 0, {}},
        {L"-Xmx18446744073709551615P", 4, {kMax}},
        {L"-Xmx18446744073709551616P", 4, {kMax}},
        {L"-Xmx99999999999999999999999:7P", 4, {kMax, 7}},
    };
    for (const Row& row : rows) {
        const NumberList list = readNumberList(row.text);
        EXPECT_EQ(list.start, row.start) << printable(row.text);
        EXPECT_EQ(list.values, row.values) << printable(row.text);
    }
}

TEST(MemoryOptions, RewritePercentOption)
{
    struct Row {
        std::wstring token;
        MemoryStatus memory;
        std::wstring rewritten;
    };
    const MemoryStatus gb8{8 * kGiB, 0};
    const MemoryStatus gb16{16 * kGiB, 0};
    const Row rows[] = {
        {L"-Xmx50P", gb8, L"-Xmx4194304K"},
        {L"-Xmx50p", gb8, L"-Xmx4194304K"},
        {L"-Xmx25P", gb16, L"-Xmx4194304K"},
        {L"-Xmx50:0:1024P", gb8, L"-Xmx1048576K"},
        {L"-Xmx50:256:2048P", gb8, L"-Xmx2097152K"},
        {L"-Xmx50:256:2048P", {2 * kGiB, 0}, L"-Xmx1048576K"},
        {L"-Xms1:512P", gb8, L"-Xms524288K"},
        {L"-Xms1:512P", {49 * kGiB, 0}, L"-Xms524288K"},
        {L"-Xmx10:2048:1024P", gb8, L"-Xmx2097152K"},  // the minimum wins over the maximum
        {L"-Xss10P", gb8, L"-Xss838860K"},              // 838860.8 truncated
        {L"-Xmx0P", gb8, L"-Xmx0K"},
        {L"-Xmx50T", {gb8.totalPhysicalBytes, std::uint64_t{128} << 40}, L"-Xmx68719476736K"},
        {L"-Xmx50t", {0, 2 * kGiB}, L"-Xmx1048576K"},
        {L"-Xmx100P", {1023, 0}, L"-Xmx0K"},  // bytes below one kilobyte count as nothing
        // Sizes beyond the 64-bit range are clamped.
        {L"-Xmx99999999999999999999P", gb16, L"-Xmx18446744073709551615K"},
        {L"-Xmx10000000000T", {0, kMax}, L"-Xmx18446744073709551615K"},
        {L"-Xmx1:99999999999999999P", gb8, L"-Xmx18446744073709551615K"},
        {L"-Xmx50:0:99999999999999999999P", gb8, L"-Xmx4194304K"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(rewritePercentMemoryOption(row.token, row.memory), row.rewritten) << printable(row.token);
    }
}

TEST(MemoryOptions, ThreadStackSize)
{
    struct Row {
        std::wstring token;
        std::optional<std::uint64_t> size;
    };
    const Row rows[] = {
        {L"-Xss1024k", 1048576},
        {L"-Xss1024K", 1048576},
        {L"-Xss2m", 2097152},
        {L"-Xss2M", 2097152},
        {L"-Xss1g", 1073741824},
        {L"-Xss1G", 1073741824},
        {L"-Xss838860K", 858992640},
        {L"-Xss100x", 100},        // an unknown unit letter counts bytes
        {L"-Xss1048576", 1048576}, // no unit letter: a plain byte count
        {L"-Xss5", 5},
        {L"-Xss:512k", 0},
        {L"-Xssk", 0},
        {L"-Xss", 0},
        {L"-Xss1:2k", 0},
        {L"-Xssx1k", 0},
        {L"-Xss%STACK%", 0},
        {L"-Xss17179869183g", kMax - (kGiB - 1)},
        {L"-Xss17179869184g", kMax},  // 2^64 bytes saturates
        {L"-Xss99999999999999999999999k", kMax},
        {L"-Xmx1m", std::nullopt},
        {L"-XSS1m", std::nullopt},
        {L"-Xs", std::nullopt},
        {L"", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(deriveThreadStackSize(row.token), row.size) << printable(row.token);
    }
}

} // namespace
