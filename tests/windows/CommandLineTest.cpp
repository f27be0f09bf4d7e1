// The process command line and the working directory under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/CommandLine_win.h"
#include "util/CommandLine.h"
#include "util/EnvironmentExpansion_win.h"
#include "util/Path_win.h"
#include "support/SelfPath.h"
#include "support/WorkFolder.h"

namespace {

constexpr const wchar_t* kArgumentsFileVariable = L"LAUNCHER_TEST_ARGUMENTS_FILE";

// Run only as a child of SplitsARealCommandLine (disabled otherwise): writes
// the arguments of its own process, one per line, into the file the parent
// names.
TEST(CommandLineChild, DISABLED_WriteOwnArguments)
{
    wchar_t target[MAX_PATH * 4] = {};
    ASSERT_NE(::GetEnvironmentVariableW(kArgumentsFileVariable, target, MAX_PATH * 4), 0u);
    std::wstring text;
    for (const std::wstring& argument : splitProcessCommandLine()) {
        text += argument + L"\n";
    }
    HANDLE file = ::CreateFileW(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
}

std::wstring readWide(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return L"<missing>";
    }
    std::wstring text(::GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ::ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    ::CloseHandle(file);
    return text;
}

TEST(CommandLine, SplitsARealCommandLine)
{
    WorkFolder work;
    work.createFolder(L"Program Files x");
    const std::wstring self = selfPath();
    ASSERT_FALSE(self.empty());
    const std::wstring child = work.path(L"Program Files x\\child tests.exe");
    ASSERT_TRUE(::CopyFileW(self.c_str(), child.c_str(), FALSE));
    const std::wstring output = work.path(L"arguments.txt");
    ASSERT_TRUE(::SetEnvironmentVariableW(kArgumentsFileVariable, output.c_str()));

    std::wstring commandLine = L"\"" + child + L"\" --gtest_filter=CommandLineChild.* --gtest_also_run_disabled_tests"
                               L"  \"two words\" a\"b \"\" \t-nosplash \"C:\\dir\\\" last ";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(child.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process));
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::SetEnvironmentVariableW(kArgumentsFileVariable, nullptr);
    EXPECT_EQ(exitCode, 0u);

    EXPECT_EQ(readWide(output),
              L"--gtest_filter=CommandLineChild.*\n--gtest_also_run_disabled_tests\ntwo words\na\"b\n\n"
              L"\t-nosplash\nC:\\dir\\\nlast\n");
}

TEST(CommandLine, ConfiguredCommandIsExpandedAndSplit)
{
    const std::wstring longValue(600, L'x');
    ASSERT_TRUE(::SetEnvironmentVariableW(L"LAUNCHER_TEST_LONG", longValue.c_str()));
    ASSERT_TRUE(::SetEnvironmentVariableW(L"LAUNCHER_TEST_WORDS", L"\"two words\" next"));
    std::vector<std::wstring> arguments{L"given"};
    appendConfiguredCommand(L"--mode %LAUNCHER_TEST_WORDS% %LAUNCHER_TEST_LONG% %LAUNCHER_TEST_UNSET% \"\"",
                            expandEnvironmentStrings, arguments);
    ::SetEnvironmentVariableW(L"LAUNCHER_TEST_LONG", nullptr);
    ::SetEnvironmentVariableW(L"LAUNCHER_TEST_WORDS", nullptr);
    EXPECT_EQ(arguments, (std::vector<std::wstring>{L"given", L"--mode", L"two words", L"next", longValue,
                                                    L"%LAUNCHER_TEST_UNSET%"}));
    EXPECT_EQ(expandEnvironmentStrings(L""), std::optional<std::wstring>(L""));
}

TEST(CommandLine, WorkingDirectoryBecomesTheExecutablesFolder)
{
    WorkFolder work;
    const std::wstring previous = work.enter();
    applyWorkingDirectory(selfPath());
    wchar_t current[MAX_PATH * 4] = {};
    ::GetCurrentDirectoryW(MAX_PATH * 4, current);
    ::SetCurrentDirectoryW(previous.c_str());

    const std::wstring folder = selfFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(std::wstring(current) + L"\\", folder);
}

} // namespace
