// Path and file utilities against the real file system under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include "util/FileFinder_win.h"
#include "util/ImageSubsystem_win.h"
#include "util/Path_win.h"
#include "util/PeHeaders.h"
#include "support/SelfPath.h"
#include "support/WorkFolder.h"

namespace {

TEST(ExecutablePath, NamesThisTestProgramAndItsFolder)
{
    const std::wstring path = selfPath();
    ASSERT_FALSE(path.empty());
    EXPECT_GT(path.size(), 4u);
    EXPECT_EQ(path.substr(path.size() - 17), L"windows_tests.exe");
    EXPECT_EQ(selfFolder(), path.substr(0, path.size() - 17));
}

TEST(FileFinder, FindsFilesAndFolders)
{
    WorkFolder work;
    work.writeFile(L"a.txt", "a");
    work.createFolder(L"sub");
    FileFinder finder;
    ASSERT_TRUE(finder.findFirst(work.path(L"a.txt").c_str()));
    EXPECT_EQ(finder.fileName(), L"a.txt");
    EXPECT_TRUE(pathExists(work.path(L"sub")));
    EXPECT_FALSE(pathExists(work.path(L"missing.txt")));
    EXPECT_FALSE(finder.findFirst(work.path(L"missing.txt").c_str()));
    // A new search forgets the previous match.
    EXPECT_EQ(finder.fileName(), L"");
}

TEST(FileFinder, SearchesLongPathsWithThePrefix)
{
    WorkFolder work;
    // Folders of 100 characters each until the file path exceeds 300.
    std::wstring folder = work.folder();
    while (folder.size() < 290) {
        folder += L"\\" + std::wstring(100, L'd');
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr) ||
                    ::GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const std::wstring file = folder + L"\\long.txt";
    ASSERT_GE(file.size(), 300u);
    HANDLE handle = ::CreateFileW((L"\\\\?\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ::CloseHandle(handle);

    FileFinder finder;
    ASSERT_TRUE(finder.findFirst(file.c_str()));
    EXPECT_EQ(finder.fileName(), L"long.txt");

    // Longer than 32766 characters: refused without asking the platform.
    EXPECT_FALSE(finder.findFirst(std::wstring(32767, L'x').c_str()));
    // No name: everything in the current folder.
    const std::wstring saved = work.enter();
    EXPECT_TRUE(finder.findFirst(nullptr));
    ::SetCurrentDirectoryW(saved.c_str());

    // The long folders come out again through the long-path removal.
    ::DeleteFileW((L"\\\\?\\" + file).c_str());
    while (folder.size() > work.folder().size()) {
        EXPECT_TRUE(removeFolder(folder));
        folder.resize(folder.rfind(L'\\'));
    }
}

TEST(CreateFolderPath, CreatesTheMissingLevelsButNeverTheFile)
{
    WorkFolder work;
    work.createFolder(L"a");
    const std::wstring file = work.path(L"a\\b\\c\\out.txt");
    EXPECT_EQ(createFolderPath(file), 0u);
    EXPECT_TRUE(pathExists(work.path(L"a\\b\\c")));
    EXPECT_FALSE(pathExists(file));
    // Everything there already: nothing to do.
    EXPECT_EQ(createFolderPath(file), 0u);
    work.writeFile(L"a\\b\\c\\out.txt", "x");
    EXPECT_EQ(createFolderPath(file), 0u);
}

TEST(CreateFolderPath, RemovesTheFolderItJustCreatedWhenTheNextLevelFails)
{
    WorkFolder work;
    work.createFolder(L"a");
    // A level that cannot be created: a name the file system refuses.
    const std::wstring file = work.path(L"a\\new\\bad|name\\x.txt");
    const DWORD error = createFolderPath(file);
    EXPECT_NE(error, 0u);
    EXPECT_NE(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(pathExists(work.path(L"a\\new"))) << "the empty folder created before the failure stays";
    EXPECT_TRUE(pathExists(work.path(L"a")));
}

TEST(CreateFolderPath, AnEmptyFolderThatWasThereBeforeStays)
{
    WorkFolder work;
    work.createFolder(L"existing");
    EXPECT_NE(createFolderPath(work.path(L"existing\\bad|name\\x.txt")), 0u);
    EXPECT_TRUE(pathExists(work.path(L"existing")));
}

TEST(CreateFolderPath, OverlongPathsFailWithoutHarm)
{
    WorkFolder work;
    std::wstring path = work.folder();
    while (path.size() < 32767) {
        path += L"\\" + std::wstring(200, L'p');
    }
    path.resize(32767);
    EXPECT_NE(createFolderPath(path), 0u);
    EXPECT_NE(createFolderPath(L"\\\\?\\" + path), 0u);
}

TEST(CreateFolderPath, RelativePathsCreateNothingAtTheirFirstLevel)
{
    WorkFolder work;
    const std::wstring saved = work.enter();
    EXPECT_EQ(createFolderPath(L"logs\\out.txt"), 0u);
    EXPECT_FALSE(pathExists(work.path(L"logs")));
    ::SetCurrentDirectoryW(saved.c_str());
}

TEST(RemoveFolder, RemovesOnlyEmptyFolders)
{
    WorkFolder work;
    work.createFolder(L"empty");
    work.createFolder(L"full");
    work.writeFile(L"full\\f.txt", "x");
    EXPECT_TRUE(removeFolder(work.path(L"empty")));
    EXPECT_FALSE(pathExists(work.path(L"empty")));
    EXPECT_FALSE(removeFolder(work.path(L"full")));
    EXPECT_FALSE(removeFolder(work.path(L"missing")));
}

} // namespace

namespace {

TEST(IsUncPath, AsksTheShellOnlyForDoubleBackslashPaths)
{
    struct Row {
        const wchar_t* path;
        bool unc;
    };
    const Row rows[] = {
        {L"\\\\server\\share\\file", true},
        {L"\\\\?\\UNC\\server\\share\\file", true},
        {L"\\\\?\\C:\\dir\\file", false},
        {L"C:\\dir\\file", false},
        {L"\\dir\\file", false},
        {L"relative\\file", false},
        {L"", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isUncPath(row.path), row.unc) << "row " << (&row - rows);
    }
}

} // namespace

TEST(ImageSubsystem, IsReadFromTheRunningImagesOwnHeader)
{
    // This test program is linked for the console, the launcher for windows.
    EXPECT_EQ(runningImageSubsystem(), kSubsystemWindowsConsole);
}
