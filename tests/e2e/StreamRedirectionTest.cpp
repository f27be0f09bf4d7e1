// System.out and System.err of the application in the configured files.
#include <gtest/gtest.h>

#include "support/AppScenario.h"

namespace {

// The files of a folder whose names start with a prefix.
std::vector<std::wstring> filesStartingWith(const std::wstring& folder, const std::wstring& prefix)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\" + prefix + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.push_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

std::wstring iniWithFiles(const std::wstring& files)
{
    return L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n[Application]\n" + files;
}

TEST(StreamRedirection, BothStreamsGoToFilesWithDatePatternsAndFoldersCreated)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    // The whole text between the first and the last "%" is one pattern.
    app.writeIni(iniWithFiles(L"Output File=" + app.path(L"logs\\%yyyy%\\out.log") + L"\nError File=" +
                              app.path(L"logs\\err.log") + L"\nError Append=yes\n"));
    TestRuntimeScenario runtime;
    runtime.outLines = {"to the output file"};
    runtime.errLines = {"to the error file"};
    const std::wstring jvmFolder = app.installRuntime(L"", runtime);

    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    const RunResult first = app.run(L"argument");
    ASSERT_FALSE(first.timedOut);
    EXPECT_EQ(first.exitCode, 0u);
    EXPECT_TRUE(first.dialogs.empty());
    const std::wstring output = L"logs\\" + std::to_wstring(before.wYear) + L"\\out.log";
    EXPECT_EQ(app.readBytes(output), "argument\r\nto the output file\r\n");
    EXPECT_EQ(app.readBytes(L"logs\\err.log"), "to the error file\r\n");
    const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
    ASSERT_EQ(log.values("fileopen").size(), 2u);
    EXPECT_EQ(log.values("fileopen")[0], "0 " + utf8(app.path(output)));
    EXPECT_EQ(log.values("fileopen")[1], "1 " + utf8(app.path(L"logs\\err.log")));

    // The error file is appended to, the output file replaced.
    writeTestRuntimeScenario(jvmFolder, runtime);
    const RunResult second = app.run(L"again");
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_EQ(app.readBytes(L"logs\\err.log"), "to the error file\r\nto the error file\r\n");
    EXPECT_EQ(app.readBytes(output), "again\r\nto the output file\r\n");
}

TEST(StreamRedirection, BothNamesGetTheSameTime)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(iniWithFiles(L"Output File=out_%HHmmss.L%.log\nError File=err_%HHmmss.L%.log\n"));
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run();
    EXPECT_EQ(result.exitCode, 0u);
    const std::vector<std::wstring> outputs = filesStartingWith(app.folder(), L"out_");
    const std::vector<std::wstring> errors = filesStartingWith(app.folder(), L"err_");
    ASSERT_EQ(outputs.size(), 1u);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(outputs[0].substr(4), errors[0].substr(4));
    // Hours, minutes, seconds, a dot and one to three digits of milliseconds.
    EXPECT_GE(outputs[0].size(), std::wstring(L"out_140709.5.log").size());
    EXPECT_LE(outputs[0].size(), std::wstring(L"out_140709.123.log").size());
}

TEST(StreamRedirection, OneFileForBothAndAFileThatCannotBeOpened)
{
    struct Row {
        const char* name;
        std::wstring files;
        std::string expectedContent;
        bool describedFailure;
    };
    const Row rows[] = {
        // The second open truncates the file again: only what came after it stays.
        {"the same file twice", L"Output File=both.log\nError File=both.log\n", "err line\r\n", false},
        {"only the error stream", L"Error File=both.log\n", "err line\r\n", false},
        {"a folder in the way", L"Output File=folder\n", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.createFolder(L"folder");
        app.writeIni(iniWithFiles(row.files));
        TestRuntimeScenario runtime;
        runtime.printArguments = false;
        runtime.errLines = {"err line"};
        const std::wstring jvmFolder = app.installRuntime(L"", runtime);
        const RunResult result = app.run();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.dialogs.empty());
        EXPECT_EQ(app.readBytes(L"both.log"), row.expectedContent);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        EXPECT_EQ(log.has("describe"), row.describedFailure);
        EXPECT_EQ(log.values("error"), std::vector<std::string>{});
    }
}

} // namespace
