#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "jvm/ModifiedUtf8.h"
#include "util/LineBreaks.h"

namespace {

std::string hex(const std::wstring& text)
{
    std::string out;
    char buffer[16];
    for (wchar_t c : text) {
        std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(c));
        out += buffer;
    }
    return out;
}

TEST(ModifiedUtf8, DecodesToUtf16Units)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::wstring expected;
    };
    const std::vector<Row> rows = {
        {"empty", "", L""},
        {"ascii", "at app.Main.main(Main.java:3)", L"at app.Main.main(Main.java:3)"},
        {"two-byte", "\xC3\xA9t\xC3\xA9", std::wstring{0xE9, L't', 0xE9}},
        {"three-byte", "\xE2\x82\xAC", std::wstring{0x20AC}},
        {"NUL as C0 80", std::string("a\xC0\x80" "b"), std::wstring{L'a', 0, L'b'}},
        // U+1F600 as two encoded surrogates, the modified form.
        {"surrogate pair", "\xED\xA0\xBD\xED\xB8\x80", std::wstring{0xD83D, 0xDE00}},
        // The same character in standard four-byte form.
        {"four-byte", "\xF0\x9F\x98\x80", std::wstring{0xD83D, 0xDE00}},
        {"highest BMP unit", "\xEF\xBF\xBF", std::wstring{0xFFFF}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(hex(decodeModifiedUtf8(row.bytes)), hex(row.expected)) << row.name;
    }
}

TEST(ModifiedUtf8, MalformedInputBecomesReplacementCharacters)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::wstring expected;
    };
    const std::wstring bad{0xFFFD};
    const std::vector<Row> rows = {
        {"stray continuation", "a\x80" "b", L"a" + bad + L"b"},
        {"invalid lead F8", "\xF8" "a", bad + L"a"},
        {"invalid lead FF", "\xFF", bad},
        {"two-byte cut at end", "a\xC3", L"a" + bad},
        {"three-byte cut after one continuation", "\xE2\x82", bad},
        {"four-byte cut at end", "\xF0\x9F\x98", bad},
        {"lead followed by ascii", "\xE2" "ab", bad + L"ab"},
        {"lead interrupted by a lead", "\xE2\x82\xC3\xA9", bad + std::wstring{0xE9}},
        {"four-byte beyond U+10FFFF", "\xF4\x90\x80\x80", bad},
        {"four-byte below U+10000", "\xF0\x80\x80\x80", bad},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(hex(decodeModifiedUtf8(row.bytes)), hex(row.expected)) << row.name;
    }
}

TEST(ModifiedUtf8, TruncatedSequencesNeverReadPastTheEnd)
{
    // Views that end inside a sequence of a longer buffer: the bytes beyond
    // the view must not be taken as continuation bytes.
    const std::string buffer = "\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(hex(decodeModifiedUtf8(std::string_view(buffer.data(), 2))), hex(std::wstring{0xFFFD}));
    EXPECT_EQ(hex(decodeModifiedUtf8(std::string_view(buffer.data(), 6))),
              hex(std::wstring{0x20AC, 0xFFFD}));
}

TEST(ModifiedUtf8, LineBreaksBecomeCrLf)
{
    struct Row {
        std::wstring text;
        std::wstring expected;
    };
    const std::vector<Row> rows = {
        {L"", L""},
        {L"a\nb\n", L"a\r\nb\r\n"},
        {L"a\r\nb\r\n", L"a\r\nb\r\n"},
        {L"a\rb", L"a\r\nb"},
        {L"a\n\nb", L"a\r\n\r\nb"},
        {L"a\r\r\nb", L"a\r\n\r\nb"},
        {L"no break", L"no break"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(hex(withCrLfLineBreaks(row.text)), hex(row.expected)) << hex(row.text);
    }
}

} // namespace
