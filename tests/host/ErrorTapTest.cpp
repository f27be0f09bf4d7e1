#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jvm/ErrorTap.h"

namespace {

TEST(ErrorTap, HandsEveryByteOnKeepsTheTailAndTakesMarkersOut)
{
    struct Row {
        const char* name;
        std::vector<std::string> chunks;  // "|" in a chunk: keeping stops there
        std::string handedOn;
        std::string kept;
        std::size_t markers;
    };
    const Row rows[] = {
        {"plain text", {"Error: x\n"}, "Error: x\n", "Error: x\n", 0},
        {"a marker in a chunk", {"ab<SYNC>cd"}, "abcd", "abcd", 1},
        {"a marker split over three reads", {"ab<SY", "N", "C>cd"}, "abcd", "abcd", 1},
        {"a start of a marker that is none", {"a<SY", "X"}, "a<SYX", "a<SYX", 0},
        {"two markers side by side", {"<SYNC><SYNC>"}, "", "", 2},
        {"only the last bytes are kept", {"0123456789", "abcdefghij", "ABCDEFGHIJ"}, "0123456789abcdefghijABCDEFGHIJ",
         "bcdefghijABCDEFGHIJ", 0},
        {"nothing kept once main began", {"before", "|", "after"}, "beforeafter", "before", 0},
    };
    for (const Row& row : rows) {
        ErrorTap tap("<SYNC>", 19);
        std::string handedOn;
        for (const std::string& chunk : row.chunks) {
            if (chunk == "|") {
                tap.stopKeeping();
                continue;
            }
            handedOn += tap.feed(chunk);
        }
        handedOn += tap.feed("");
        EXPECT_EQ(handedOn, row.handedOn) << row.name;
        EXPECT_EQ(tap.kept(), row.kept) << row.name;
        EXPECT_EQ(tap.markersSeen(), row.markers) << row.name;
    }
}

} // namespace
