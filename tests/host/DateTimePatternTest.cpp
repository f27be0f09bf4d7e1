#include <gtest/gtest.h>

#include "jvm/DateTimePattern.h"

namespace {

// Stand-ins for the locale's formatting at 2026-03-05 14:07:09: each replaces
// the pictures of its kind that the tests use.
std::optional<std::wstring> replaceAll(std::wstring text, const std::vector<std::pair<std::wstring, std::wstring>>& table)
{
    if (text.find(L"refuse") != std::wstring::npos) {
        return std::nullopt;
    }
    for (const auto& [picture, value] : table) {
        for (std::size_t at = text.find(picture); at != std::wstring::npos; at = text.find(picture, at + value.size())) {
            text.replace(at, picture.size(), value);
        }
    }
    return text;
}

std::optional<std::wstring> formatTime(const std::wstring& picture)
{
    return replaceAll(picture, {{L"HH", L"14"}, {L"mm", L"07"}, {L"ss", L"09"}});
}

std::optional<std::wstring> formatDate(const std::wstring& picture)
{
    return replaceAll(picture, {{L"yyyy", L"2026"}, {L"MM", L"03"}, {L"dd", L"05"}});
}

TEST(DateTimePattern, FillsInThePatternBetweenTheFirstAndTheLastPercentSign)
{
    struct Row {
        std::wstring name;
        unsigned milliseconds;
        std::wstring expected;
    };
    const Row rows[] = {
        {L"out_%yyyyMMdd_HHmmss%.log", 0, L"out_20260305_140709.log"},
        {L"logs\\%yyyy%\\out.log", 0, L"logs\\2026\\out.log"},
        {L"out_%HHmmss.L%.log", 5, L"out_140709.5.log"},
        {L"out_%HHmmss.L%.log", 123, L"out_140709.123.log"},
        // A single "%" is an empty pattern and goes.
        {L"100%.log", 0, L"100.log"},
        {L"%%out.log", 0, L"out.log"},
        // Signs between the first and the last belong to the pattern.
        {L"a%yyyy%x%MM%b", 0, L"a2026%x%03b"},
        {L"plain.log", 0, L"plain.log"},
        // A pattern the platform refuses leaves the name without it.
        {L"out_%refuse%.log", 0, L"out_.log"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(expandDateTimePattern(row.name, row.milliseconds, formatTime, formatDate), row.expected)
            << std::string(row.name.begin(), row.name.end());
    }
}

} // namespace
