#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "util/PeHeaders.h"

namespace {

// A minimal image: DOS header, NT headers at 0x80 and an optional header.
std::vector<std::uint8_t> makeImage(std::uint16_t machine, std::uint16_t magic, std::uint16_t subsystem)
{
    std::vector<std::uint8_t> image(0x400, 0);
    auto put16 = [&](std::size_t at, std::uint16_t v) {
        image[at] = v & 0xFF;
        image[at + 1] = v >> 8;
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            image[at + i] = (v >> (8 * i)) & 0xFF;
        }
    };
    image[0] = 'M';
    image[1] = 'Z';
    put32(0x3C, 0x80);
    std::memcpy(&image[0x80], "PE\0\0", 4);
    put16(0x84, machine);
    put16(0x86, 1);                                   // one section
    const std::uint16_t optionalSize = magic == 0x20B ? 240 : 224;
    put16(0x94, optionalSize);
    const std::size_t optional = 0x98;
    put16(optional, magic);
    put16(optional + 68, subsystem);
    return image;
}

TEST(PeImage, ReadsMachineAndSubsystem)
{
    const auto image = makeImage(kMachineAmd64, 0x20B, kSubsystemWindowsGui);
    const auto headers = readPeHeaders(image.data(), image.size());
    ASSERT_TRUE(headers.has_value());
    EXPECT_EQ(headers->machine, kMachineAmd64);
    EXPECT_TRUE(headers->is64BitOptionalHeader);
    EXPECT_EQ(headers->subsystem, kSubsystemWindowsGui);

    const auto image32 = makeImage(kMachineI386, 0x10B, kSubsystemWindowsConsole);
    const auto headers32 = readPeHeaders(image32.data(), image32.size());
    ASSERT_TRUE(headers32.has_value());
    EXPECT_EQ(headers32->machine, kMachineI386);
    EXPECT_FALSE(headers32->is64BitOptionalHeader);
}

TEST(PeImage, DamagedImagesAreNotImages)
{
    const auto good = makeImage(kMachineI386, 0x10B, kSubsystemWindowsGui);
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Row> rows;
    rows.push_back({"empty", {}});
    rows.push_back({"text file", std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'}});
    rows.push_back({"MZ only", std::vector<std::uint8_t>{'M', 'Z'}});
    auto farOffset = good;
    farOffset[0x3C] = 0xF0;
    farOffset[0x3F] = 0x7F;  // NT headers far past the end
    rows.push_back({"NT offset past the end", farOffset});
    auto badSignature = good;
    badSignature[0x82] = 'X';
    rows.push_back({"bad signature", badSignature});
    rows.push_back({"cut inside the file header", std::vector<std::uint8_t>(good.begin(), good.begin() + 0x90)});
    auto noMz = good;
    noMz[0] = 'Z';
    rows.push_back({"no MZ", noMz});
    for (const Row& row : rows) {
        EXPECT_FALSE(readPeHeaders(row.bytes.data(), row.bytes.size()).has_value()) << row.name;
    }
    EXPECT_FALSE(readPeHeaders(nullptr, 100).has_value());
    // Cut at every length: the headers read only once the file header is
    // whole, and nothing reads outside the buffer (the sanitizers watch).
    for (std::size_t length = 0; length < good.size(); ++length) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(length));
        EXPECT_EQ(readPeHeaders(cut.data(), cut.size()).has_value(), length >= 0x98) << "cut at " << length;
    }
}

TEST(PeImage, LayoutSaysWhereTheHeadersLieAndWhichCheckFailed)
{
    const auto good = makeImage(kMachineAmd64, 0x20B, kSubsystemWindowsGui);
    PeHeaderFault fault = PeHeaderFault::NoPeSignature;
    const auto layout = readPeHeaderLayout(good.data(), good.size(), fault);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(fault, PeHeaderFault::None);
    EXPECT_EQ(layout->sectionCount, 1u);
    EXPECT_EQ(layout->optionalHeader, 0x98u);
    EXPECT_EQ(layout->optionalHeaderSize, 240u);
    EXPECT_EQ(layout->sectionTable, 0x98u + 240u);

    auto noMz = good;
    noMz[1] = 'X';
    const auto cut = std::vector<std::uint8_t>(good.begin(), good.begin() + 0x97);
    auto badSignature = good;
    badSignature[0x83] = 1;
    const std::pair<std::vector<std::uint8_t>, PeHeaderFault> rows[] = {
        {noMz, PeHeaderFault::NoDosSignature},
        {cut, PeHeaderFault::NtHeaderOutside},
        {badSignature, PeHeaderFault::NoPeSignature},
    };
    for (const auto& row : rows) {
        EXPECT_FALSE(readPeHeaderLayout(row.first.data(), row.first.size(), fault).has_value());
        EXPECT_EQ(fault, row.second);
    }
}

} // namespace
