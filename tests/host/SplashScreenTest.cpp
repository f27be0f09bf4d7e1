#include <gtest/gtest.h>

#include <climits>

#include "ui/SplashScreen.h"

namespace {

TEST(SplashScreen, PlacementCentresAndTruncatesTowardZero)
{
    struct Row {
        int screenWidth, screenHeight, imageWidth, imageHeight, x, y;
    };
    const Row rows[] = {
        {1280, 1024, 400, 300, 440, 362},
        {1280, 1024, 401, 301, 439, 361},       // odd differences round toward zero
        {1280, 1024, 0, 0, 640, 512},           // an image that did not load
        {1280, 1024, 1481, 1100, -100, -38},    // larger than the screen: cut off on both sides
        {1280, 1024, 1283, 1027, -1, -1},       // -3 / 2 is -1, not -2
        {0, 0, INT_MAX, INT_MAX, -1073741823, -1073741823},
    };
    for (const Row& row : rows) {
        const SplashPlacement placement =
            centredSplashPlacement(row.screenWidth, row.screenHeight, row.imageWidth, row.imageHeight);
        EXPECT_EQ(placement.x, row.x) << row.imageWidth << " on " << row.screenWidth;
        EXPECT_EQ(placement.y, row.y) << row.imageHeight << " on " << row.screenHeight;
    }
}

TEST(SplashScreen, NativeLibraryLiesInTheFolderAboveTheJvmLibrary)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"C:\\Java\\jre\\bin\\server\\jvm.dll", L"C:\\Java\\jre\\bin\\splashscreen.dll"},
        {L"C:\\Java\\jre\\bin/\\server\\jvm.dll", L"C:\\Java\\jre\\bin/splashscreen.dll"},
        {L"C:\\jvm.dll", L"\\splashscreen.dll"},
        {L"jvm.dll", L"\\splashscreen.dll"},
    };
    for (const auto& [jvm, expected] : rows) {
        EXPECT_EQ(nativeSplashLibraryPath(jvm), expected);
    }
}

} // namespace
