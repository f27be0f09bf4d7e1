#include <gtest/gtest.h>

#include "jvm/ClassDataArchive.h"

TEST(ClassDataArchive, OptionsPerVersionAndKey)
{
    const std::wstring quiet = L"-Xlog:cds=off,cds+dynamic=off", verify = L"-XX:+VerifySharedSpaces";
    const std::wstring use = L"-XX:SharedArchiveFile=C:\\a.jsa", record = L"-XX:DumpLoadedClassList=C:\\l 7.classlist";
    const std::wstring writer = L"\"C:\\jre 17\\bin\\java.exe\" -Xshare:dump -Xlog:cds=off -Xlog:cds+dynamic=off "
                                L"-XX:SharedClassListFile=\"C:\\l 7.classlist\" -XX:SharedArchiveFile=C:\\7.tmp "
                                L"-cp \"C:\\app 1\\a.jar;C:\\b.jar\"";
    enum State { Ready, Writing, Missing };
    const struct {
        bool keyOn;
        std::optional<VersionNumber> version;
        State state;
        std::vector<std::wstring> options;  // empty and no writer: refused, or nothing while writing
    } rows[] = {
        {false, VersionNumber{{17}}, Ready, {}},
        {true, std::nullopt, Ready, {}},
        {true, VersionNumber{}, Ready, {}},  // a version without digits
        {true, VersionNumber{{12, 0, 2}}, Ready, {}},
        {true, VersionNumber{{13}}, Missing, {record}},
        {true, VersionNumber{{13}}, Ready, {quiet, verify, use}},
        {true, VersionNumber{{18, 0, 1}}, Writing, {}},
        {true, VersionNumber{{18, 0, 1}}, Ready, {quiet, verify, use}},
        {true, VersionNumber{{25}}, Missing, {record}},
    };
    for (const auto& row : rows) {
        const wchar_t* refusal = archiveRefusal(row.keyOn, row.version);
        ASSERT_EQ(refusal != nullptr, row.options.empty() && row.state != Writing);
        if (!refusal) {
            const ArchivePlan plan = planArchiveOptions({row.state == Ready ? L"C:\\a.jsa" : L"", row.state == Writing,
                                                         L"C:\\l 7.classlist", L"C:\\7.tmp",
                                                         L"C:\\jre 17\\bin\\java.exe", L"C:\\app 1\\a.jar;C:\\b.jar"});
            EXPECT_EQ(plan.options, row.options);
            EXPECT_EQ(plan.writerCommand, row.state == Missing ? writer : L"");
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

TEST(ClassDataArchive, NameChangesWithRuntimeAndFingerprint)
{
    const std::wstring base = classDataArchiveName(L"C:\\jdk17", "-Djava.class.path=a.jar");
    EXPECT_EQ(base.size(), 24u);
    EXPECT_EQ(base, classDataArchiveName(L"C:\\jdk17", "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk21", "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk17", "-Djava.class.path=b.jar"));
}

TEST(ClassDataArchive, NumbersInArchiveNamesAndMagic)
{
    EXPECT_EQ(numberInArchiveName(L"c-1.1234.tmp", L"c-1", L".tmp"), 1234u);
    EXPECT_EQ(numberInArchiveName(L"c-1.18446744073709551615.jsa", L"c-1", L".jsa"), 18446744073709551615u);
    for (const wchar_t* refused : {L"c-1.18446744073709551616.jsa", L"c-1.5.tmp", L"c-1.5.classlist", L"c-1..jsa", L"c-1.1a.jsa",
                                   L"c-2.12.jsa", L"c-1.jsa", L"c-1x12.jsa"}) {
        EXPECT_FALSE(numberInArchiveName(refused, L"c-1", L".jsa").has_value());
    }
    EXPECT_TRUE(hasArchiveMagic(std::string("\xA2\xAB\x0B\xF0rest", 8)));
    // An archive on top of another, a header never written, a cut one.
    for (const std::string& bytes : {std::string("\xA8\xAB\x0B\xF0"), std::string(4, '\0'), std::string("\xA2\xAB")}) {
        EXPECT_FALSE(hasArchiveMagic(bytes));
    }
}
