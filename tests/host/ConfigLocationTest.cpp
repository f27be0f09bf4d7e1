#include <gtest/gtest.h>

#include "config/ConfigLocation.h"

namespace {

std::string show(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(ConfigLocation, MainConfigPathReplacesEverythingAfterTheLastDot)
{
    struct Row {
        std::wstring executable;
        std::optional<std::wstring> config;
    };
    const std::vector<Row> rows = {
        {L"C:\\Apps\\Tool.exe", L"C:\\Apps\\Tool.ini"},
        {L"C:\\A.B\\Tool", L"C:\\A.ini"},
        {L"C:\\Apps\\Tool.v2.exe", L"C:\\Apps\\Tool.v2.ini"},
        {L"C:\\Apps\\Tool.", L"C:\\Apps\\Tool.ini"},
        {L"C:\\Apps\\Tool", std::nullopt},
        {L"", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(mainConfigPathFor(row.executable), row.config) << show(row.executable);
    }
}

TEST(ConfigLocation, ProductFolderNameDropsNineCharacters)
{
    EXPECT_EQ(productFolderName(L"My: App/Name?"), L"My AppName");
    EXPECT_EQ(productFolderName(L"\\?\"|><:/*"), L"");
    EXPECT_EQ(productFolderName(L"  Acme  Suite. 2 "), L"  Acme  Suite. 2 ");
}

TEST(ConfigLocation, PerUserPath)
{
    EXPECT_EQ(executableBaseName(L"C:\\A.B\\Tool"), L"Tool");
    EXPECT_EQ(executableBaseName(L"Tool.exe"), L"Tool");
    EXPECT_EQ(perUserConfigPathFor(L"C:\\Users\\u\\AppData\\Roaming", L"Acme: Suite", L"AS1", L"C:\\Apps\\Tool.exe"),
              L"C:\\Users\\u\\AppData\\Roaming\\Acme Suite\\AS1\\Tool.ini");
    // Empty product values give two empty folder names.
    EXPECT_EQ(perUserConfigPathFor(L"C:\\R", L"", L"", L"C:\\Apps\\Tool.exe"), L"C:\\R\\\\\\Tool.ini");
    // No application-data folder: the path starts at the drive's root.
    EXPECT_EQ(perUserConfigPathFor(L"", L"P", L"C", L"C:\\Apps\\Tool.exe"), L"\\P\\C\\Tool.ini");
}

} // namespace
