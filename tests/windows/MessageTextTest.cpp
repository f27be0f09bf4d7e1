// The string table as the launcher loads it from its own resources.
#include <gtest/gtest.h>

#include "util/MessageIds.h"
#include "util/MessageText_win.h"

namespace {

TEST(MessageText, StringTableHoldsTheExactTexts)
{
    struct Row {
        int id;
        const wchar_t* text;
    };
    const Row rows[] = {
        {IDS_WINDOWS_EXCEPTION, L"Windows exception: %s (errno = %d).\n"},
        {IDS_JNI_EXCEPTION_REASON, L"JNI exception: %s\nReason: %s.\n"},
        {IDS_JRE_NOT_FOUND_SERVER,
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server JVM "
         L"(%s) from:"},
        {IDS_JRE_NOT_FOUND,
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (%s) from:"},
        {IDS_MODULE_PATH_FAILED, L"failed to get the module path"},
        {IDS_MAIN_CLASS_MISSING, L"Main class was not specified in INI file."},
        {IDS_MAIN_CLASS_LOAD_FAILED, L"Failed to load Main Class: %s.\n"},
        {IDS_NO_MAIN_METHOD, L"No main method found in specified class.\n"},
        {IDS_VERSION_BETWEEN, L"version between %s and %s"},
        {IDS_JVM_LOAD_FAILED, L"Failed to load Java VM library: %s (errno = %d).\n"},
        {IDS_JNI_ERR, L"unknown"},
        {IDS_JNI_EINVAL, L"invalid arguments"},
        {IDS_VM_THREAD_FAILED, L"failed to create the thread of the Java VM"},
        {IDS_TEXT_NOT_PASSABLE, L"The Java runtime cannot be given %s: \"%s\" holds the character \"%s\", which the "
                                L"system's code page cannot represent, and no short form of the path avoids it.\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(loadMessage(row.id), row.text) << "string " << row.id;
    }
    for (int id = IDS_WINDOWS_EXCEPTION; id <= IDS_JNI_EINVAL; ++id) {
        EXPECT_FALSE(loadMessage(id).empty()) << "string " << id;
    }
    EXPECT_EQ(loadMessage(201), L"");
    EXPECT_EQ(loadMessage(231), L"");
}

} // namespace
