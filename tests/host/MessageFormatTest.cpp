#include <gtest/gtest.h>

#include <climits>

#include "util/Failure.h"
#include "util/MessageFormat.h"
#include "util/MessageIds.h"

namespace {

TEST(MessageFormat, FillsPlaceholdersInOrder)
{
    struct Row {
        std::wstring format;
        std::vector<MessageArgument> arguments;
        std::wstring expected;
    };
    const std::vector<Row> rows = {
        {L"Windows exception: %s (errno = %d).\n", {L"failed to get the module path", 5},
         L"Windows exception: failed to get the module path (errno = 5).\n"},
        {L"JNI exception: %s\nReason: %s.\n", {L"failed to create the Java VM", L""},
         L"JNI exception: failed to create the Java VM\nReason: .\n"},
        {L"%d %d %d", {0, -1, INT_MIN}, L"0 -1 -2147483648"},
        {L"100%% of %s", {L"x"}, L"100% of x"},
        // Missing arguments become empty; the format never reads past them.
        {L"version between %s and %s", {L"1.6"}, L"version between 1.6 and "},
        {L"%s", {}, L""},
        // A percent sign before another letter, or at the end, stays.
        {L"50%x and 5%", {}, L"50%x and 5%"},
        // Text that looks like a placeholder inside an argument is not expanded.
        {L"%s", {L"%s%d"}, L"%s%d"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(formatMessage(row.format, row.arguments), row.expected)
            << "format " << std::string(row.format.begin(), row.format.end());
    }
}

TEST(MessageFormat, HasNoLengthLimit)
{
    const std::wstring path(40000, L'p');
    const std::wstring text = formatMessage(L"Failed to load Java VM library: %s (errno = %d).\n", {path, 126});
    EXPECT_EQ(text.size(), path.size() + 48);
    EXPECT_EQ(text.substr(text.size() - 16), L" (errno = 126).\n");
}

// A string table of three texts; any other id is missing.
std::wstring tableText(int id)
{
    switch (id) {
    case IDS_WINDOWS_EXCEPTION: return L"Windows exception: %s (errno = %d).\n";
    case IDS_MODULE_PATH_FAILED: return L"failed to get the module path";
    case IDS_MAIN_CLASS_NOT_FOUND: return L"Could not find the main class %s.\n";
    default: return std::wstring();
    }
}

TEST(Failure, TextTakesNamedTextsFromTheTableAndTheRuntimesWordsLast)
{
    Failure withWords = failureOf(IDS_MAIN_CLASS_NOT_FOUND, {L"app/Main"});
    withWords.runtimeWords = L"Error: class app.Main\r\n";
    const struct Row {
        const char* name;
        Failure failure;
        std::wstring expected;
    } rows[] = {
        {"platform failure", windowsFailure(IDS_MODULE_PATH_FAILED, 5),
         L"Windows exception: failed to get the module path (errno = 5).\n"},
        {"runtime's words after the message", withWords,
         L"Could not find the main class app/Main.\n\nError: class app.Main\r\n"},
        {"missing named text", failureOf(IDS_WINDOWS_EXCEPTION, {MessageArgument::textOf(999), 2}),
         L"Windows exception:  (errno = 2).\n"},
        {"no message", Failure{}, L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(failureText(row.failure, tableText), row.expected) << row.name;
    }
    EXPECT_EQ(windowsFailure(IDS_MODULE_PATH_FAILED, 5).windowsError, 5u);
    EXPECT_EQ(Failure{}.exitCode, -1);
}

} // namespace
