#include <gtest/gtest.h>

#include "jvm/ClassDataArchive.h"

TEST(ClassDataArchive, OptionsPerVersionAndKey)
{
    const std::wstring quiet = L"-Xlog:cds=off,cds+dynamic=off", verify = L"-XX:+VerifySharedSpaces";
    const std::wstring use = L"-XX:SharedArchiveFile=a.jsa", create = L"-XX:ArchiveClassesAtExit=a.jsa.7.tmp";
    const struct {
        bool keyOn;
        std::optional<VersionNumber> version;
        bool archiveReady;
        std::vector<std::wstring> options;  // empty: refused
    } rows[] = {
        {false, VersionNumber{{17}}, true, {}},
        {true, std::nullopt, true, {}},
        {true, VersionNumber{}, true, {}},  // a version without digits
        {true, VersionNumber{{12, 0, 2}}, true, {}},
        {true, VersionNumber{{13}}, false, {quiet, create}},
        {true, VersionNumber{{13}}, true, {quiet, verify, use}},
        {true, VersionNumber{{18, 0, 1}}, false, {quiet, create}},
        {true, VersionNumber{{18, 0, 1}}, true, {quiet, verify, use}},
        {true, VersionNumber{{25}}, false, {quiet, create}},
    };
    for (const auto& row : rows) {
        const std::optional<std::wstring> refusal = archiveRefusal(row.keyOn, row.version);
        ASSERT_EQ(refusal.has_value(), row.options.empty());
        if (!refusal) {
            EXPECT_EQ(planArchiveOptions({L"a.jsa", row.archiveReady, L"a.jsa.7.tmp"}).options, row.options);
        }
    }
}

TEST(ClassDataArchive, OptionsThatDecideSharingThemselves)
{
    EXPECT_FALSE(optionsDecideSharing({"-Djava.class.path=a.jar", "-Xmx1g", "-Dshare=on"}));
    for (const char* option : {"-Xshare:off", "-XX:SharedArchiveFile=x.jsa", "-XX:ArchiveClassesAtExit=y", "-XX:-UseSharedSpaces"}) {
        EXPECT_TRUE(optionsDecideSharing({"-Djava.class.path=a.jar", option})) << option;
    }
}

TEST(ClassDataArchive, NameChangesWithRuntimeAndClassPath)
{
    const std::wstring base = classDataArchiveName(L"C:\\jdk17", 100, 200, "-Djava.class.path=a.jar");
    EXPECT_EQ(base.size(), 41u);
    EXPECT_EQ(base, classDataArchiveName(L"C:\\jdk17", 100, 200, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk21", 100, 200, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk17", 101, 200, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk17", 100, 201, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk17", 100, 200, "-Djava.class.path=b.jar"));
}

TEST(ClassDataArchive, NumbersInArchiveNamesAndMagic)
{
    EXPECT_EQ(numberInArchiveName(L"c-1.1234.tmp", L"c-1", L".tmp"), 1234u);
    EXPECT_EQ(numberInArchiveName(L"c-1.18446744073709551615.jsa", L"c-1", L".jsa"), 18446744073709551615u);
    for (const wchar_t* refused : {L"c-1.18446744073709551616.jsa", L"c-1.5.tmp", L"c-1..jsa", L"c-1.1a.jsa",
                                   L"c-2.12.jsa", L"c-1.jsa", L"c-1x12.jsa"}) {
        EXPECT_FALSE(numberInArchiveName(refused, L"c-1", L".jsa").has_value());
    }
    EXPECT_TRUE(hasDynamicArchiveMagic(std::string("\xA8\xAB\x0B\xF0rest", 8)));
    // A static archive, a header never written, a cut one.
    for (const std::string& bytes : {std::string("\xA2\xAB\x0B\xF0"), std::string(4, '\0'), std::string("\xA8\xAB")}) {
        EXPECT_FALSE(hasDynamicArchiveMagic(bytes));
    }
}
