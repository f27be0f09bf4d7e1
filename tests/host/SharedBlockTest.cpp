#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instance/SharedBlock.h"

namespace {

using Block = std::vector<unsigned char>;  // exactly the block: the sanitizer catches a scan past it

std::string show(const std::vector<std::wstring>& list)
{
    std::string text;
    for (const std::wstring& item : list) {
        text += "[" + std::string(item.begin(), item.end()) + "]";
    }
    return text;
}

TEST(SharedBlock, ArgumentsTravelThroughTheArea)
{
    struct Row {
        std::vector<std::wstring> sent;
        std::vector<std::wstring> received;
    };
    const std::vector<Row> rows = {
        {{L"one", L"two words"}, {L"one", L"two words"}},
        {{}, {L""}},
        {{L""}, {L""}},
        // An empty argument ends the list for the reader.
        {{L"a", L"", L"b"}, {L"a"}},
        {{std::wstring(1, wchar_t(0x00E9)) + wchar_t(0xD83D) + wchar_t(0xDE00)},
         {std::wstring(1, wchar_t(0x00E9)) + wchar_t(0xD83D) + wchar_t(0xDE00)}},
        // The largest list that fits: 2 * 518 + 2 + 2 = 1040 bytes.
        {{std::wstring(518, L'x')}, {std::wstring(518, L'x')}},
    };
    for (const Row& row : rows) {
        Block block(kSharedBlockSize, 0xAB);
        ASSERT_TRUE(packArguments(row.sent, block.data())) << show(row.sent);
        EXPECT_EQ(unpackArguments(block.data()), row.received) << show(row.sent);
        // The header and the area beyond the limit are not touched.
        EXPECT_EQ(block[0], 0xAB);
        EXPECT_EQ(block[kArgumentAreaOffset - 1], 0xAB);
        EXPECT_EQ(block[kArgumentAreaOffset + kArgumentListLimit], 0xAB);
    }
}

TEST(SharedBlock, ListsOverTheLimitAreRefusedAndLeaveTheBlockAlone)
{
    const std::vector<std::vector<std::wstring>> rows = {
        {std::wstring(519, L'x')},                                  // 1042 bytes
        {std::wstring(300, L'a'), std::wstring(300, L'b')},         // 600 characters: 1206 bytes
        std::vector<std::wstring>(520, L""),                        // 520 empty strings: 1042 bytes
        {std::wstring(100000, L'z')},
    };
    for (const auto& row : rows) {
        Block block(kSharedBlockSize, 0x5A);
        EXPECT_FALSE(packArguments(row, block.data())) << row.size() << " arguments";
        EXPECT_EQ(block, Block(kSharedBlockSize, 0x5A));
    }
}

TEST(SharedBlock, ScanStaysInsideTheBlock)
{
    auto filled = [] {
        Block block(kSharedBlockSize, 0);
        for (std::size_t offset = kArgumentAreaOffset; offset < kSharedBlockSize; offset += 2) {
            block[offset] = 'x';
        }
        return block;
    };
    // No terminator anywhere: the open list is dropped.
    EXPECT_EQ(unpackArguments(filled().data()), std::vector<std::wstring>{});

    // The last examined character is a zero and the look-ahead (last unit) too.
    Block closed = filled();
    closed[kSharedBlockSize - 4] = 0;
    closed[kSharedBlockSize - 2] = 0;
    EXPECT_EQ(unpackArguments(closed.data()), std::vector<std::wstring>{std::wstring(1038, L'x')});

    // A zero in the last examined place followed by a character: still open.
    Block open = filled();
    open[kSharedBlockSize - 4] = 0;
    EXPECT_EQ(unpackArguments(open.data()), std::vector<std::wstring>{});

    // A first character of zero gives one empty string, whatever follows.
    Block leading = filled();
    leading[kArgumentAreaOffset] = 0;
    EXPECT_EQ(unpackArguments(leading.data()), std::vector<std::wstring>{L""});
}

TEST(SharedBlock, HeaderFieldsAreLittleEndian)
{
    Block block(kSharedBlockSize, 0);
    writeBlockUint32(block.data(), kRequestMessageIdOffset, 0xC0DE1234u);
    EXPECT_EQ(block[8], 0x34);
    EXPECT_EQ(block[11], 0xC0);
    EXPECT_EQ(readBlockUint32(block.data(), kRequestMessageIdOffset), 0xC0DE1234u);
}

TEST(SharedBlock, NameReplacesBackslashesAndKeepsCase)
{
    EXPECT_EQ(sharedObjectName(L"C:\\Apps\\Tool.exe"), L"C:_Apps_Tool.exe");
    EXPECT_EQ(sharedObjectName(L"c:\\apps\\tool.exe"), L"c:_apps_tool.exe");
    EXPECT_EQ(sharedObjectName(L"\\\\server\\share/App.exe"), L"__server_share/App.exe");
}

} // namespace
