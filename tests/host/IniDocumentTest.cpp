#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "config/IniDocument.h"
#include "config/SplitList.h"

namespace {

std::string narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    }
    return out;
}

// Renders the parsed content as "[name]key=value|..." for compact expectations.
std::wstring render(const IniDocument& document)
{
    std::wstring out;
    for (const IniDocument::Section& section : document.sections()) {
        out += L"[" + section.name + L"]";
        for (const IniDocument::Pair& pair : section.pairs) {
            out += pair.key + L"=" + pair.value + L"|";
        }
    }
    return out;
}

TEST(SplitList, PiecesBetweenSeparators)
{
    struct Row {
        std::wstring text;
        std::wstring separator;
        std::vector<std::wstring> items;
    };
    const Row rows[] = {
        {L"", L";", {}},
        {L"a", L";", {L"a"}},
        {L"a;;b", L";", {L"a", L"", L"b"}},
        {L"a;", L";", {L"a"}},
        {L";a", L";", {L"", L"a"}},
        {L";", L";", {L""}},
        {L"a;;", L";", {L"a", L""}},
        {L"1.8;;11", L";", {L"1.8", L"", L"11"}},
        {L"x\r\ny\r\n", L"\r\n", {L"x", L"y"}},
        {L"x\ny", L"\r\n", {L"x\ny"}},
        {L"a\r\r\nb", L"\r\n", {L"a\r", L"b"}},
        {L"abc", L"", {L"abc"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(splitList(row.text, row.separator), row.items) << "text \"" << narrow(row.text) << "\"";
    }
}

TEST(IniDocument, ParsesToTheLetter)
{
    struct Row {
        const char* name;
        std::wstring text;
        std::wstring parsed;
    };
    const Row rows[] = {
        {"empty text", L"", L""},
        {"simple", L"[A]\r\nk=v\r\n", L"[A]k=v|"},
        {"last line without line end", L"[A]\r\nk=v", L"[A]k=v|"},
        {"lone line feeds make one line", L"[A]\nk=v\nj=w\n", L""},
        {"one line that looks like a header", L"[A]\nk=v\n[B]", L"[A]\nk=v\n[B]"},
        {"lone carriage return stays in the value", L"[A]\r\nk=v\rw\r\n", L"[A]k=v\rw|"},
        {"byte-order mark on the first line", L"\xFEFF[A]\r\nk=v", L"[A]k=v|"},
        {"byte-order mark on a later line is a character", L"[A]\r\n\xFEFFk=v", L"[A]\xFEFFk=v|"},
        {"spaces around key and value", L"[A]\r\n  k  =  v  \r\n", L"[A]k=v|"},
        {"tabs around key and value", L"[A]\r\n\tk\t=\tv\t", L"[A]k=v|"},
        {"first equals sign splits", L"[A]\r\nk=a=b", L"[A]k=a=b|"},
        {"empty key and empty value are kept", L"[A]\r\n=v\r\nk=\r\n", L"[A]=v|k=|"},
        {"no equals sign", L"[A]\r\njust text\r\n", L"[A]"},
        {"pairs before any section are ignored", L"k=v\r\n[A]\r\nj=w", L"[A]j=w|"},
        {"semicolon is no comment", L"[A]\r\n;k=v", L"[A];k=v|"},
        {"hash is no comment", L"[A]\r\n#k=v", L"[A]#k=v|"},
        {"quotes are kept", L"[A]\r\nk=\"v\"", L"[A]k=\"v\"|"},
        {"spaces inside brackets are kept", L"[ A B ]\r\nk=v", L"[ A B ]k=v|"},
        {"blank and control characters around a header", L" \t\x01[A]\x02 \r\nk=v", L"[A]k=v|"},
        {"empty section name", L"[]\r\nk=v", L"[]k=v|"},
        {"header from first [ to last ]", L"[a]b]\r\nk=v", L"[a]b]k=v|"},
        {"unclosed bracket line is ignored", L"[A]\r\n[B\r\nk=v", L"[A]k=v|"},
        {"unclosed bracket with equals is ignored", L"[A]\r\n[k=v", L"[A]"},
        {"closing bracket alone is a pair line", L"[A]\r\n]k=v", L"[A]]k=v|"},
        {"duplicate sections are kept", L"[A]\r\nk=v\r\n[A]\r\nk=w", L"[A]k=v|[A]k=w|"},
        {"duplicate keys are kept", L"[A]\r\nk=v\r\nk=w", L"[A]k=v|k=w|"},
        {"blank lines are ignored", L"[A]\r\n\r\n   \r\n\t\r\nk=v", L"[A]k=v|"},
        {"NUL in a value stays", std::wstring(L"[A]\r\nk=a\0b", 10), std::wstring(L"[A]k=a\0b|", 9)},
        {"NUL before a key stays in the key", std::wstring(L"[A]\r\n\0k=v", 9), std::wstring(L"[A]\0k=v|", 8)},
        {"line of NUL characters is blank", std::wstring(L"[A]\r\n\0\0\r\nk=v", 12), L"[A]k=v|"},
    };
    for (const Row& row : rows) {
        IniDocument document;
        document.parse(row.text);
        EXPECT_EQ(render(document), row.parsed) << row.name;
    }
}

TEST(IniDocument, ParseReplacesEarlierContent)
{
    IniDocument document;
    document.parse(L"[A]\r\nk=v");
    document.parse(L"[B]\r\nj=w");
    EXPECT_EQ(render(document), L"[B]j=w|");
}

TEST(IniDocument, LookupFindsFirstSectionAndFirstKeyExactly)
{
    IniDocument document;
    document.parse(L"[A]\r\nk = v  \r\nk=second\r\n[A]\r\nk=w\r\nonly=later\r\n[B]\r\nK=upper");

    std::wstring value;
    document.getValue(L"A", L"k", value);
    EXPECT_EQ(value, L"v");

    // The second section of the same name is unreachable.
    value = L"untouched";
    document.getValue(L"A", L"only", value);
    EXPECT_EQ(value, L"untouched");

    // Names compare with their letter case.
    value = L"untouched";
    document.getValue(L"B", L"k", value);
    EXPECT_EQ(value, L"untouched");
    document.getValue(L"b", L"K", value);
    EXPECT_EQ(value, L"untouched");
    document.getValue(L"B", L"K", value);
    EXPECT_EQ(value, L"upper");

    std::vector<std::wstring> names{L"stale"};
    document.listSections(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"A", L"B"}));
}

TEST(IniDocument, SetValueAppendsAndNeverReplaces)
{
    IniDocument document;
    document.parse(L"[A]\r\nk=old");
    EXPECT_NE(document.setValue(L"A", L"k", L"new"), 0);
    EXPECT_NE(document.setValue(L"C", L"x", L"1"), 0);
    EXPECT_EQ(render(document), L"[A]k=old|k=new|[C]x=1|");
    EXPECT_EQ(document.readValue(L"A", L"k"), L"old");

    std::array<std::uint8_t, 4> buffer{9, 9, 9, 9};
    EXPECT_EQ(document.probe(buffer), 1u);
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

TEST(IniDocument, LargeInputStaysLinear)
{
    // 10 MB of lines without "=" followed by one pair: a search for "=" that
    // ran past each line would take quadratic time here.
    std::wstring text = L"[A]\r\n";
    const std::wstring filler(98, L'x');
    while (text.size() < 10u * 1024u * 1024u) {
        text += filler;
        text += L"\r\n";
    }
    text += L"k=v\r\n";
    // And one line of a million characters.
    text += L"long=" + std::wstring(1024u * 1024u, L'y') + L"\r\n";

    IniDocument document;
    document.parse(text);
    ASSERT_EQ(document.sections().size(), 1u);
    ASSERT_EQ(document.sections()[0].pairs.size(), 2u);
    EXPECT_EQ(document.readValue(L"A", L"k"), L"v");
    EXPECT_EQ(document.readValue(L"A", L"long").size(), 1024u * 1024u);
}

TEST(IniDocument, BinaryGarbageStoresOnlyPiecesOfTheText)
{
    // Every code unit value, NUL and lone surrogates included, with some line
    // ends, brackets and equals signs mixed in.
    std::wstring text;
    std::uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        const std::uint32_t pick = (state >> 16) % 10;
        const wchar_t special[] = {L'\r', L'\n', L'[', L']', L'='};
        text += pick < 5 ? special[pick] : static_cast<wchar_t>((state >> 8) & 0xFFFF);
    }
    IniDocument document;
    document.parse(text);
    std::size_t stored = 0;
    for (const IniDocument::Section& section : document.sections()) {
        stored += section.name.size();
        for (const IniDocument::Pair& pair : section.pairs) {
            stored += pair.key.size() + pair.value.size();
        }
    }
    EXPECT_LE(stored, text.size());
}

TEST(IniDocument, ManyHeadersAreAllKept)
{
    // Growing the section array must not disturb the pair insertion point.
    std::wstring text;
    for (int i = 0; i < 1000; ++i) {
        text += L"[S" + std::to_wstring(i) + L"]\r\nk=" + std::to_wstring(i) + L"\r\n";
    }
    IniDocument document;
    document.parse(text);
    ASSERT_EQ(document.sections().size(), 1000u);
    for (int i = 0; i < 1000; i += 111) {
        EXPECT_EQ(document.readValue(L"S" + std::to_wstring(i), L"k"), std::to_wstring(i)) << "section " << i;
    }
}

} // namespace
