// The architecture check of JVM libraries against real files.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/RuntimeProbe_win.h"
#include "support/WorkFolder.h"
#include "util/Path_win.h"
#include "support/SelfPath.h"

namespace {

// DOS header, "PE\0\0" and a file header with the given machine; nothing more.
std::string headersFor(std::uint16_t machine)
{
    std::string image(0x200, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = 0x40;
    std::memcpy(&image[0x40], "PE\0\0", 4);
    image[0x44] = static_cast<char>(machine & 0xFF);
    image[0x45] = static_cast<char>(machine >> 8);
    return image;
}

TEST(IsX86Library, TellsA32BitLibraryFromEverythingElse)
{
    WorkFolder work;
    std::string farHeaders = headersFor(0x014C);
    farHeaders[0x3C] = '\xF0';
    farHeaders[0x3D] = '\xFF';  // NT headers beyond the end of the file
    struct Row {
        const char* name;
        std::string bytes;
        bool expected;
    };
    const Row rows[] = {
        {"i386 image", headersFor(0x014C), true},
        {"x64 image", headersFor(0x8664), false},
        {"text file", "This is not a library.\r\n", false},
        {"empty file", "", false},
        {"only MZ", "MZ", false},
        {"cut inside the headers", headersFor(0x014C).substr(0, 0x46), false},
        {"headers offset past the end", farHeaders, false},
    };
    for (const Row& row : rows) {
        work.writeFile(L"jvm.dll", row.bytes);
        EXPECT_EQ(isX86Library(work.path(L"jvm.dll")), row.expected) << row.name;
    }
    EXPECT_FALSE(isX86Library(work.path(L"missing.dll")));
    const std::wstring self = selfPath();
    ASSERT_FALSE(self.empty());
    EXPECT_FALSE(isX86Library(self)) << "this 64-bit test program";
}

} // namespace
