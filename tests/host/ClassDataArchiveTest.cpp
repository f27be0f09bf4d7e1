#include <gtest/gtest.h>

#include "jvm/ClassDataArchive.h"

namespace {

VersionNumber major(std::int32_t value)
{
    return VersionNumber{{value, 0, 1, 0}};
}

const std::wstring kArchive = L"C:\\L\\a.jsa";
const std::wstring kTemporary = L"C:\\L\\a.jsa.7.tmp";

} // namespace

TEST(ClassDataArchive, OptionsPerVersionAndKey)
{
    struct Row {
        const char* name;
        bool keyOn;
        std::optional<VersionNumber> version;
        bool archiveReady;
        std::vector<std::wstring> options;  // empty: refused
    };
    const std::wstring quiet = L"-Xlog:cds=off,cds+dynamic=off";
    const std::wstring verify = L"-XX:+VerifySharedSpaces";
    const Row rows[] = {
        {"key off", false, major(17), true, {}},
        {"unknown version", true, std::nullopt, true, {}},
        {"version without digits", true, VersionNumber{}, true, {}},
        {"12", true, major(12), true, {}},
        {"13 creates", true, major(13), false, {quiet, L"-XX:ArchiveClassesAtExit=" + kTemporary}},
        {"13 uses", true, major(13), true, {quiet, verify, L"-XX:SharedArchiveFile=" + kArchive}},
        {"18 creates", true, major(18), false, {quiet, L"-XX:ArchiveClassesAtExit=" + kTemporary}},
        {"18 uses", true, major(18), true, {quiet, verify, L"-XX:SharedArchiveFile=" + kArchive}},
        {"19 lets the runtime keep it", true, major(19), false,
         {quiet, verify, L"-XX:+AutoCreateSharedArchive", L"-XX:SharedArchiveFile=" + kArchive}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<std::wstring> refusal = archiveRefusal(row.keyOn, row.version);
        EXPECT_EQ(refusal.has_value(), row.options.empty());
        if (!refusal) {
            const ArchivePlan plan = planArchiveOptions({*row.version, kArchive, row.archiveReady, kTemporary});
            EXPECT_EQ(plan.options, row.options);
            EXPECT_FALSE(plan.traceText.empty());
        }
    }
}

TEST(ClassDataArchive, NameChangesWithRuntimeAndClassPath)
{
    const std::wstring base = classDataArchiveName(L"C:\\jdk17", 100, 200, "-Djava.class.path=a.jar");
    EXPECT_EQ(base, classDataArchiveName(L"C:\\jdk17", 100, 200, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk21", 100, 200, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk17", 101, 200, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk17", 100, 201, "-Djava.class.path=a.jar"));
    EXPECT_NE(base, classDataArchiveName(L"C:\\jdk17", 100, 200, "-Djava.class.path=b.jar"));
    // Runtime part and class-path part are separate: same class path, same tail.
    EXPECT_EQ(base.substr(25), classDataArchiveName(L"C:\\jdk21", 1, 2, "-Djava.class.path=a.jar").substr(25));
    EXPECT_EQ(base.size(), 41u);
}

TEST(ClassDataArchive, NumbersInArchiveNamesAndMagic)
{
    const std::wstring stem = L"classes-1-2";
    const struct {
        std::wstring file;
        const wchar_t* suffix;
        std::optional<std::uint64_t> number;
    } rows[] = {
        {L"classes-1-2.1234.tmp", L".tmp", 1234u},
        {L"classes-1-2.122880.jsa", L".jsa", 122880u},
        {L"classes-1-2.18446744073709551615.jsa", L".jsa", 18446744073709551615u},
        {L"classes-1-2.18446744073709551616.jsa", L".jsa", std::nullopt},
        {L"classes-1-2.122880.jsa", L".tmp", std::nullopt},
        {L"classes-1-2..tmp", L".tmp", std::nullopt},
        {L"classes-1-2.12a.tmp", L".tmp", std::nullopt},
        {L"classes-1-3.12.tmp", L".tmp", std::nullopt},
        {L"classes-1-2.jsa", L".jsa", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(numberInArchiveName(row.file, stem, row.suffix), row.number)
            << std::string(row.file.begin(), row.file.end());
    }
    EXPECT_TRUE(hasDynamicArchiveMagic(std::string("\xA8\xAB\x0B\xF0rest", 8)));
    EXPECT_FALSE(hasDynamicArchiveMagic(std::string("\xA2\xAB\x0B\xF0", 4)));  // a static archive
    EXPECT_FALSE(hasDynamicArchiveMagic(std::string(4, '\0')));                 // header never written
    EXPECT_FALSE(hasDynamicArchiveMagic("\xA8\xAB"));
}
