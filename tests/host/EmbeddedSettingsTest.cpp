#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/EmbeddedSettings.h"

namespace {

// The build's enciphering step, written out again from the documented layout.
std::vector<std::uint8_t> encipher(const std::string& utf8)
{
    std::vector<std::uint8_t> blob{'E', 'S', 'v', '1'};
    const std::uint32_t n = static_cast<std::uint32_t>(utf8.size());
    for (int shift = 0; shift < 32; shift += 8) {
        blob.push_back(static_cast<std::uint8_t>(n >> shift));
    }
    std::uint32_t state = kEmbeddedSettingsSeed;
    for (char c : utf8) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        blob.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) ^ (state & 0xFFu)));
    }
    return blob;
}

TEST(EmbeddedSettings, DecodesEncipheredText)
{
    const std::string text = "[Java Runtime Environment]\r\nMain Class=org.example.App\r\n";
    std::vector<std::uint8_t> blob = encipher(text);
    // The text is not readable in the blob.
    const std::string stored(blob.begin() + 8, blob.end());
    EXPECT_EQ(stored.find("Main Class"), std::string::npos);
    EXPECT_EQ(decodeEmbeddedSettings(blob.data(), blob.size()),
              L"[Java Runtime Environment]\r\nMain Class=org.example.App\r\n");

    // Padding after the text is ignored.
    blob.push_back(0);
    EXPECT_EQ(decodeEmbeddedSettings(blob.data(), blob.size()).size(), text.size());
}

TEST(EmbeddedSettings, EncoderWritesWhatTheBuildWritesAndRoundTrips)
{
    struct Row {
        const char* name;
        std::string text;
        std::string stored;  // after the line-end conversion
    };
    const Row rows[] = {
        {"empty", "", ""},
        {"lone line feeds", "[A]\nk=v\n", "[A]\r\nk=v\r\n"},
        {"CR LF kept", "[A]\r\nk=v\r\n", "[A]\r\nk=v\r\n"},
        {"leading line feed", "\nx", "\r\nx"},
        {"lone carriage return kept", "a\rb", "a\rb"},
        {"odd length, non-ASCII", "k=\xC3\xA9t\xC3\xA9", "k=\xC3\xA9t\xC3\xA9"},
    };
    for (const Row& row : rows) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(row.text.data());
        const std::vector<std::uint8_t> blob = encodeEmbeddedSettings(data, row.text.size());
        std::vector<std::uint8_t> expected = encipher(row.stored);
        if (expected.size() % 2 != 0) {
            expected.push_back(0);
        }
        EXPECT_EQ(blob, expected) << row.name;
        const auto* stored = reinterpret_cast<const std::uint8_t*>(row.stored.data());
        EXPECT_EQ(decodeEmbeddedSettings(blob.data(), blob.size()), wideFromUtf8(stored, row.stored.size())) << row.name;
    }
}

TEST(EmbeddedSettings, DamagedResourcesGiveNoText)
{
    struct Row {
        const char* name;
        std::vector<std::uint8_t> blob;
    };
    std::vector<std::uint8_t> tooLong = encipher("abc");
    tooLong[4] = 4;  // claims one byte more than is there
    std::vector<std::uint8_t> huge = encipher("abc");
    huge[7] = 0xFF;
    std::vector<std::uint8_t> wrongMagic = encipher("abc");
    wrongMagic[3] = '2';
    const Row rows[] = {
        {"nothing", {}},
        {"header cut", {'E', 'S', 'v', '1', 0, 0}},
        {"length beyond the data", tooLong},
        {"huge length", huge},
        {"wrong magic", wrongMagic},
        {"empty text", encipher("")},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(decodeEmbeddedSettings(row.blob.data(), row.blob.size()), L"") << row.name;
    }
    EXPECT_EQ(decodeEmbeddedSettings(nullptr, 100), L"");
}

TEST(EmbeddedSettings, Utf8Decoding)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::wstring text;
    };
    const std::wstring astral = sizeof(wchar_t) == 2 ? std::wstring(L"\xD83D\xDE00") : std::wstring(1, static_cast<wchar_t>(0x1F600));
    const Row rows[] = {
        {"ascii", "abc", L"abc"},
        {"two bytes", "\xC3\xA9", L"\x00E9"},
        {"three bytes", "\xE2\x82\xAC", L"\x20AC"},
        {"byte-order mark", "\xEF\xBB\xBF[A]", L"\xFEFF[A]"},
        {"four bytes", "\xF0\x9F\x98\x80", astral},
        {"lone continuation", "a\x80" "b", L"a\xFFFD" L"b"},
        {"overlong", "\xC0\xAF", L"\xFFFD\xFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},
        {"cut at the end", "a\xE2\x82", L"a\xFFFD\xFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"NUL kept", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const Row& row : rows) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(row.bytes.data());
        EXPECT_EQ(wideFromUtf8(data, row.bytes.size()), row.text) << row.name;
    }
}

} // namespace
