#include <gtest/gtest.h>

#include <map>

#include "util/EnvironmentExpansion.h"

namespace {

std::string show(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(EnvironmentExpansion, FollowsThePlatformRules)
{
    const std::map<std::wstring, std::wstring> variables = {
        {L"HOME", L"C:\\Users\\u"}, {L"EMPTY", L""}, {L"PCT", L"%HOME%"}};
    const EnvironmentLookup lookup = [&](const std::wstring& name) -> std::optional<std::wstring> {
        const auto found = variables.find(name);
        if (found == variables.end()) {
            return std::nullopt;
        }
        return found->second;
    };
    struct Row {
        std::wstring text;
        std::wstring expected;
    };
    const Row rows[] = {
        {L"-Dhome=%HOME%", L"-Dhome=C:\\Users\\u"},
        {L"%HOME%%HOME%", L"C:\\Users\\uC:\\Users\\u"},
        {L"a%EMPTY%b", L"ab"},
        {L"%UNDEFINED%", L"%UNDEFINED%"},
        // The closing sign of an undefined reference opens the next one.
        {L"%UNDEFINED%HOME%", L"%UNDEFINEDC:\\Users\\u"},
        {L"100%", L"100%"},
        {L"%%", L"%%"},
        {L"%%HOME%", L"%C:\\Users\\u"},
        // Values are not expanded again.
        {L"%PCT%", L"%HOME%"},
        {L"", L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(expandEnvironmentReferences(row.text, lookup), row.expected) << "text " << show(row.text);
    }
}

TEST(EnvironmentExpansion, HasNoLengthLimit)
{
    const EnvironmentLookup lookup = [](const std::wstring& name) -> std::optional<std::wstring> {
        if (name == L"LIB") {
            return std::wstring(L"C:\\lib");
        }
        return std::nullopt;
    };
    std::wstring text;
    std::wstring expected;
    for (int i = 0; i < 20000; ++i) {
        text += L"%LIB%\\a" + std::to_wstring(i) + L".jar;";
        expected += L"C:\\lib\\a" + std::to_wstring(i) + L".jar;";
    }
    EXPECT_GT(expected.size(), 200000u);
    EXPECT_EQ(expandEnvironmentReferences(text, lookup), expected);
}

} // namespace
