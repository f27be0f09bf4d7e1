#include <gtest/gtest.h>

#include <map>

#include "jvm/OptionNarrowing.h"
#include "util/MessageIds.h"

namespace {

// A code page of Latin-1 characters, and the short names of the paths that
// exist.
NarrowingServices services()
{
    static const std::map<std::wstring, std::wstring> shortNames = {
        {L"C:\\\x141ukasz \x5E94\x7528\\lib\\app.jar", L"C:\\_UKA~GKY\\lib\\app.jar"},
        {L"C:\\\x141ukasz \x5E94\x7528\\data", L"C:\\_UKA~GKY\\data"},
        {L"C:\\\x141ukasz \x5E94\x7528", L"C:\\\x141UKA~1"},  // a short name that does not convert either
    };
    NarrowingServices narrowing;
    narrowing.exact = [](const std::wstring& text) -> std::optional<std::string> {
        std::string narrow;
        for (wchar_t c : text) {
            if (c > 0xFF) {
                return std::nullopt;
            }
            narrow += static_cast<char>(c);
        }
        return narrow;
    };
    narrowing.shortPath = [](const std::wstring& path) {
        const auto found = shortNames.find(path);
        return found != shortNames.end() ? found->second : std::wstring();
    };
    return narrowing;
}

TEST(OptionNarrowing, PathsThatDoNotConvertPassInShortFormOrStopTheStart)
{
    const std::wstring folder = L"C:\\\x141ukasz \x5E94\x7528";
    const struct Row {
        const char* name;
        std::wstring option;
        std::string narrow;           // empty: the start stops
        std::vector<MessageArgument> failure;
    } rows[] = {
        {"converts as it is", L"-Dgreeting=Gr\xFC\xDF" L"e", "-Dgreeting=Gr\xFC\xDF" "e", {}},
        {"class path entry in short form", L"-Djava.class.path=C:\\a.jar;" + folder + L"\\lib\\app.jar",
         "-Djava.class.path=C:\\a.jar;C:\\_UKA~GKY\\lib\\app.jar", {}},
        {"-D value naming a folder", L"-Dapp.data=" + folder + L"\\data", "-Dapp.data=C:\\_UKA~GKY\\data", {}},
        {"entry without short form", L"-Djava.class.path=" + folder + L"\\gone.jar", "",
         {L"-Djava.class.path", folder + L"\\gone.jar", L"\x141"}},
        {"short form that does not convert", L"-Djava.library.path=" + folder, "",
         {L"-Djava.library.path", folder, L"\x141"}},
        {"-D value that is no path", L"-Dgreeting=\x4F60\x597D", "", {L"-Dgreeting", L"\x4F60\x597D", L"\x4F60"}},
        {"supplementary character", L"-Dx=a\xD83D\xDE00", "", {L"-Dx", L"a\xD83D\xDE00", L"\xD83D\xDE00"}},
        {"no value", L"-X\x141", "", {L"-X\x141", L"-X\x141", L"\x141"}},
    };
    for (const Row& row : rows) {
        const Expected<std::string> narrow = narrowOption(row.option, services());
        if (row.failure.empty()) {
            ASSERT_TRUE(narrow) << row.name;
            EXPECT_EQ(*narrow, row.narrow) << row.name;
            continue;
        }
        ASSERT_FALSE(narrow) << row.name;
        EXPECT_EQ(narrow.failure().messageId, IDS_TEXT_NOT_PASSABLE) << row.name;
        ASSERT_EQ(narrow.failure().arguments.size(), 3u) << row.name;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(narrow.failure().arguments[i].text, row.failure[i].text) << row.name << " argument " << i;
        }
    }
}

} // namespace
