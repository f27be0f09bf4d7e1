// Starts of the launcher that end before any runtime is involved.
#include <gtest/gtest.h>

#include "support/Scenario.h"

namespace {

const wchar_t kMainClassMissing[] = L"Main class was not specified in INI file.";

TEST(Startup, WithoutIniFileShowsMainClassMessageAndExitsWithMinusOne)
{
    Scenario scenario;
    scenario.installLauncher();
    const RunResult result = scenario.run();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
    ASSERT_EQ(result.messageTexts().size(), 1u);
    EXPECT_EQ(result.messageTexts()[0], kMainClassMissing);
    // Default caption, error icon, one OK button.
    EXPECT_EQ(result.dialogs[0].title, L"Error");
    EXPECT_NE(result.dialogs[0].control(IDOK), nullptr);
    EXPECT_EQ(result.dialogs[0].control(IDCANCEL), nullptr);
}

TEST(Startup, IniWithoutMainClassOrWithGarbageShowsTheSameMessage)
{
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"empty file", ""},
        {"empty main class", "[Java Runtime Environment]\r\nMain Class=\r\n"},
        {"main class in another section", "[Application]\r\nMain Class=org.example.App\r\n"},
        {"binary garbage", std::string("\x00\xff\xfe[\x01=\x02\r\n\x7f\x80]=", 16) + std::string(4096, '\xA5')},
        {"unterminated section", "[Java Runtime Environment\r\nMain Class=org.example.App\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Scenario scenario;
        scenario.installLauncher();
        scenario.writeBytes(L"App.ini", row.bytes);
        const RunResult result = scenario.run();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
        ASSERT_EQ(result.messageTexts().size(), 1u);
        EXPECT_EQ(result.messageTexts()[0], kMainClassMissing);
    }
}

TEST(Startup, ExecutablePathWithoutAnyDotEndsSilentlyWithMinusOne)
{
    // Made on drive C, not in the build tree: a folder above the checkout may
    // hold a dot.
    const std::wstring folder = L"C:\\launcher-no-dot-" + std::to_wstring(::GetCurrentProcessId());
    removeTree(folder);
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring program = folder + L"\\App";
    ASSERT_TRUE(::CopyFileW(launcherPath().c_str(), program.c_str(), FALSE));
    const RunResult result = runProcess(program, L"\"" + program + L"\"", folder, 30000, pressDefaultButton);
    removeTree(folder);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
    EXPECT_TRUE(result.dialogs.empty());
}

TEST(Startup, LongCommandLineAndOverlongAppDataDoNotCrash)
{
    Scenario scenario;
    scenario.installLauncher();
    // About 32,000 characters of arguments, the most a command line holds.
    std::wstring arguments;
    while (arguments.size() < 32000) {
        arguments += L"\"quoted argument\" plain ";
    }
    std::wstring savedAppData(32767, L'\0');
    const DWORD savedLength = ::GetEnvironmentVariableW(L"APPDATA", savedAppData.data(), 32767);
    savedAppData.resize(savedLength);
    ::SetEnvironmentVariableW(L"APPDATA", (L"C:\\" + std::wstring(400, L'a')).c_str());
    const RunResult result = scenario.run(arguments);
    ::SetEnvironmentVariableW(L"APPDATA", savedLength ? savedAppData.c_str() : nullptr);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
    ASSERT_EQ(result.messageTexts().size(), 1u);
    EXPECT_EQ(result.messageTexts()[0], kMainClassMissing);
}

} // namespace
