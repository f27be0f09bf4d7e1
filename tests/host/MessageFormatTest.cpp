#include <gtest/gtest.h>

#include <climits>

#include "ui/MessageFormat.h"

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

} // namespace
