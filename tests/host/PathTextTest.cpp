#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/PathText.h"

namespace {

std::string show(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(PathText, FolderLevelsToCreate)
{
    struct Row {
        std::wstring path;
        bool unc;
        std::vector<std::wstring> levels;
    };
    const std::vector<Row> rows = {
        {L"C:\\a\\b\\c\\out.txt", false, {L"C:\\a", L"C:\\a\\b", L"C:\\a\\b\\c"}},
        {L"C:\\out.txt", false, {}},
        {L"C:", false, {}},
        // A relative path: its first component counts as the root.
        {L"logs\\out.txt", false, {}},
        {L"logs\\2026\\out.txt", false, {L"logs\\2026"}},
        {L"\\\\server\\share\\dir\\out.txt", true, {L"\\\\server\\share", L"\\\\server\\share\\dir"}},
        {L"\\\\?\\C:\\a\\b\\f", false, {L"\\\\?\\C:\\a", L"\\\\?\\C:\\a\\b"}},
        {L"\\\\?\\UNC\\server\\share\\f", true, {L"\\\\?\\UNC\\server\\share"}},
        // Slashes are no separators here.
        {L"C:\\a/b\\f", false, {L"C:\\a/b"}},
        {L"", false, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(folderLevelsToCreate(row.path, row.unc), row.levels) << "path " << show(row.path);
    }
}

TEST(PathText, LongPathSearchNameGetsThePrefixFrom260Characters)
{
    const std::wstring local259 = L"C:\\" + std::wstring(256, L'x');
    const std::wstring local260 = local259 + L"y";
    const std::wstring unc300 = L"\\\\server\\share\\" + std::wstring(285, L'z');
    struct Row {
        std::wstring name;
        bool unc;
        std::wstring expected;
    };
    const std::vector<Row> rows = {
        {local259, false, local259},
        {local260, false, L"\\\\?\\" + local260},
        {L"\\\\?\\" + local260, false, L"\\\\?\\" + local260},
        {unc300, true, L"\\\\?\\UNC\\" + unc300.substr(2)},
        {L"\\\\?\\UNC\\" + unc300.substr(2), true, L"\\\\?\\UNC\\" + unc300.substr(2)},
        {L"short\\name.txt", false, L"short\\name.txt"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(longPathSearchName(row.name, row.unc), row.expected) << "name of " << row.name.size() << " chars";
    }
}

TEST(PathText, FolderWithSeparator)
{
    EXPECT_EQ(folderWithSeparator(L"C:\\App\\App.exe"), L"C:\\App\\");
    EXPECT_EQ(folderWithSeparator(L"C:\\tool.exe"), L"C:\\");
    EXPECT_EQ(folderWithSeparator(L"tool.exe"), L"");
}

TEST(PathText, FullPathsAreDriveOrNetworkRooted)
{
    const struct Row {
        std::wstring path;
        bool full;
    } rows[] = {
        {L"C:\\Users\\a\\AppData\\Roaming", true},
        {L"z:\\", true},
        {L"\\\\server\\share", true},
        {L"\\Users\\a", false},  // the current drive's root
        {L"C:Users", false},       // relative to the drive's current folder
        {L"AppData", false},
        {L"", false},
        {L"1:\\x", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isFullPath(row.path), row.full) << show(row.path);
    }
}

} // namespace
