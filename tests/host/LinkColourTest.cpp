#include <gtest/gtest.h>

#include <string>

#include "ui/LinkColour.h"

namespace {

std::string show(const std::optional<LinkColour>& colour)
{
    if (!colour) {
        return "rejected";
    }
    return std::to_string(colour->red) + "," + std::to_string(colour->green) + "," + std::to_string(colour->blue);
}

// UTF-16LE bytes of a text, with its final NUL unless `terminated` is false.
std::string stored(const std::wstring& text, bool terminated = true)
{
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    if (terminated) {
        bytes += std::string(2, '\0');
    }
    return bytes;
}

TEST(LinkColour, StoredValuesAreCheckedAndParsed)
{
    struct Row {
        const char* name;
        bool isText;
        std::string bytes;
        const char* expected;
    };
    const Row rows[] = {
        {"red", true, stored(L"255,0,0"), "255,0,0"},
        {"two parts", true, stored(L"255,0"), "rejected"},
        {"empty third part", true, stored(L"255,0,"), "rejected"},
        {"letters convert to 0", true, stored(L"a,b,c"), "0,0,0"},
        {"blanks, signs, trailing text", true, stored(L" 12,+34,7x"), "12,34,7"},
        {"low 8 bits", true, stored(L"256,-2,511"), "0,254,255"},
        {"-1 first", true, stored(L"-1,0,0"), "rejected"},
        {"-1 second", true, stored(L"0,-1,0"), "rejected"},
        {"-1 third", true, stored(L"0,0,-1"), "0,0,255"},
        {"24 bytes", true, stored(L"255,255,255"), "255,255,255"},
        {"over 24 bytes", true, stored(L"255,255,255 "), "rejected"},
        {"no NUL", true, stored(L"1,2,3", false), "rejected"},
        {"text after the NUL ignored", true, stored(L"1,2,3") + stored(L"9"), "1,2,3"},
        {"not text", false, stored(L"255,0,0"), "rejected"},
        {"odd size", true, stored(L"1,2,3", false) + std::string(1, '\0'), "rejected"},
    };
    for (const Row& row : rows) {
        const auto* data = reinterpret_cast<const unsigned char*>(row.bytes.data());
        EXPECT_EQ(show(linkColourFromStoredValue(row.isText, data, row.bytes.size())), row.expected) << row.name;
    }
}

} // namespace
