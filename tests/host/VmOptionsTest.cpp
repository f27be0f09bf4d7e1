#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "JvmTestFakes.h"
#include "util/MessageIds.h"
#include "jvm/VmOptions.h"

namespace {

using Texts = std::vector<std::wstring>;
using NarrowTexts = std::vector<std::string>;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

TEST(VmOptions, SplitVmParameters)
{
    struct Row {
        std::wstring text;
        Texts tokens;
    };
    const Row rows[] = {
        {L"-Xmx512m  -Dx=\"a b\"", {L"-Xmx512m", L"-Dx=\"a b\""}},
        {L"   -Xmx512m", {L"-Xmx512m"}},
        {L"-Xmx512m   ", {L"-Xmx512m"}},
        {L"", {}},
        {L"    ", {}},
        {L"-Da\t-Db", {L"-Da\t-Db"}},  // a tab does not separate
        {L"\"a b\"c d", {L"\"a b\"c", L"d"}},
        {L"-Dx=\"a \"\"b c\"", {L"-Dx=\"a \"\"b", L"c\""}},  // a doubled quote ends the section
        {L"-Da=\"x y", {L"-Da=\"x", L"y"}},                  // a lone quote protects nothing
        {L"-Da=\"x y\"z\"w v", {L"-Da=\"x y\"z\"w", L"v"}},  // ... but a closed section stays whole
        {L"\"", {L"\""}},
        {L"a \"\" b", {L"a", L"\"\"", L"b"}},
        {L"\"\"\" x\"", {L"\"\"\"", L"x\""}},
        {L"\"a b\" \"c d\"", {L"\"a b\"", L"\"c d\""}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(splitVmParameters(row.text), row.tokens) << printable(row.text);
    }
}

TEST(VmOptions, UnquoteToken)
{
    struct Row {
        std::wstring token;
        std::wstring unquoted;
    };
    const Row rows[] = {
        {L"-Dapp.title=\"My App\"", L"-Dapp.title=My App"},
        {L"-Xmx512m", L"-Xmx512m"},
        {L"\"\"", L""},
        {L"\"", L"\""},
        {L"a\"b", L"a\"b"},
        {L"\"\"\"", L"\""},
        {L"\"a\"\"b\"", L"a\"b\""},  // the doubled quote closes; the last one is lone
        {L"\"a\"b\"c\"", L"abc"},
        {L"x\"a b\"y\"", L"xa by\""},
        {L"-Dx=\"a \"\"b", L"-Dx=a \"b"},
        {L"\"C:\\Program Files\\\"", L"C:\\Program Files\\"},  // a backslash escapes nothing
    };
    for (const Row& row : rows) {
        EXPECT_EQ(unquoteToken(row.token), row.unquoted) << printable(row.token);
    }
}

// Scanning must stay linear however the quotes fall: a quadratic scan of this
// much text takes many seconds.
TEST(VmOptions, LongParameterTextsTakeLinearTime)
{
    const std::size_t n = 200000;
    struct Row {
        const char* name;
        std::wstring text;
        std::size_t tokens;
    };
    std::wstring spacedQuotes;  // `" " " ...`: each quote closes the one before
    std::wstring openingQuotes;  // `x"x"x"...`: one token, many sections
    std::wstring lateLoneQuote;  // `a"1 2 3 ... "b"`
    for (std::size_t i = 0; i < n; ++i) {
        spacedQuotes += L"\" ";
        openingQuotes += L"x\"";
    }
    lateLoneQuote = L"a\"";
    for (std::size_t i = 0; i < n; ++i) {
        lateLoneQuote += L"1 ";
    }
    lateLoneQuote += L"\"b\"";
    std::wstring alternatingSections = L"a";  // `a"1 "2 "3 ...`
    for (std::size_t i = 0; i < n; ++i) {
        alternatingSections += L"\"" + std::to_wstring(i % 10) + L" ";
    }
    const Row rows[] = {
        {"spaced quotes", spacedQuotes, n / 2},
        {"opening quotes", openingQuotes, 1},
        {"late lone quote", lateLoneQuote, 1},
        {"alternating sections", alternatingSections, n / 2},
        {"unterminated quote", L"-Dx=\"" + std::wstring(n, L'a') + L" " + std::wstring(n, L'b'), 2},
    };
    for (const Row& row : rows) {
        const auto begin = std::chrono::steady_clock::now();
        const Texts tokens = splitVmParameters(row.text);
        std::size_t unquotedLength = 0;
        for (const std::wstring& token : tokens) {
            unquotedLength += unquoteToken(token).size();
        }
        const auto elapsed = std::chrono::steady_clock::now() - begin;
        EXPECT_EQ(tokens.size(), row.tokens) << row.name;
        EXPECT_LE(unquotedLength, row.text.size()) << row.name;
        EXPECT_LT(elapsed, std::chrono::seconds(3)) << row.name;
    }
}

TEST(VmOptions, ClassifyClassPathEntry)
{
    struct Row {
        std::wstring entry;
        ClassPathEntryKind kind;
    };
    const Row rows[] = {
        {L"\\lib\\*.jar", ClassPathEntryKind::Wildcard},
        {L"C:\\libs\\*", ClassPathEntryKind::Wildcard},
        {L"\\\\srv\\share\\*.jar", ClassPathEntryKind::Wildcard},
        {L"\\lib\\app.jar", ClassPathEntryKind::Relative},
        {L"lib\\app.jar", ClassPathEntryKind::Relative},
        {L"a", ClassPathEntryKind::Relative},
        {L"\\", ClassPathEntryKind::Relative},
        {L"C:\\libs\\x.jar", ClassPathEntryKind::Absolute},
        {L"C:", ClassPathEntryKind::Absolute},
        {L"\\\\srv\\share\\x.jar", ClassPathEntryKind::Network},
        {L"\\\\?\\C:\\x.jar", ClassPathEntryKind::Network},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(classifyClassPathEntry(row.entry), row.kind) << printable(row.entry);
    }
}

// A file system that answers search patterns from a table, in the table's
// order, and remembers what was searched.
struct FakeFileSystem {
    std::map<std::wstring, Texts> matches;
    mutable Texts searched;

    DirectoryMatchLister lister() const
    {
        return [this](const std::wstring& pattern) {
            searched.push_back(pattern);
            const auto found = matches.find(pattern);
            return found == matches.end() ? Texts{} : found->second;
        };
    }
};

TEST(VmOptions, ExpandClassPathEntry)
{
    FakeFileSystem files;
    files.matches = {
        {L"C:\\App\\lib\\*.jar", {L"b.jar", L"a.jar"}},
        {L"C:\\App\\*.jar", {L"App.jar"}},
        {L"C:\\App\\lib\\app.jar", {L"App.JAR"}},
        {L"C:\\App\\lib\\*", {L".", L"..", L"a.jar", L"sub"}},
        {L"C:\\libs\\*.jar", {L"x.jar"}},
        {L"C:/libs/*.jar", {L"y.jar"}},
        {L"\\\\srv\\share\\*.jar", {L"z.jar"}},
        {L"C:\\App*.jar", {L"App1.jar"}},
    };
    struct Row {
        std::wstring entry;
        std::wstring launcherFolder;
        std::wstring classPath;
    };
    const Row rows[] = {
        {L"\\lib\\*.jar", L"C:\\App\\", L"C:\\App\\lib\\b.jar;C:\\App\\lib\\a.jar;"},  // file-system order
        {L"\\lib\\*.jar", L"C:\\App", L"C:\\App\\lib\\b.jar;C:\\App\\lib\\a.jar;"},
        {L"\\*.jar", L"C:\\App\\", L"C:\\App\\App.jar;"},
        {L"\\lib\\app.jar", L"C:\\App\\", L"C:\\App\\lib\\App.JAR;"},  // spelt as stored
        {L"\\lib\\*", L"C:\\App\\", L"C:\\App\\lib\\.;C:\\App\\lib\\..;C:\\App\\lib\\a.jar;C:\\App\\lib\\sub;"},
        {L"\\missing.jar", L"C:\\App\\", L""},
        {L"C:\\libs\\*.jar", L"C:\\App\\", L"C:\\libs\\x.jar;"},
        {L"C:/libs/*.jar", L"C:\\App\\", L"C:/libs/y.jar;"},
        {L"\\\\srv\\share\\*.jar", L"C:\\App\\", L"\\\\srv\\share\\z.jar;"},
        {L"*.jar", L"C:\\App\\", L"C:\\App1.jar;"},  // no leading backslash: the name continues the folder's
    };
    for (const Row& row : rows) {
        std::wstring classPath;
        expandClassPathEntry(row.entry, row.launcherFolder, files.lister(), classPath);
        EXPECT_EQ(classPath, row.classPath) << printable(row.entry) << " in " << printable(row.launcherFolder);
    }
    std::wstring classPath = L"kept;";
    expandClassPathEntry(L"\\*.jar", L"C:\\App\\", files.lister(), classPath);
    EXPECT_EQ(classPath, L"kept;C:\\App\\App.jar;");
}

// The platform as the option assembly sees it, with the launcher at
// C:\App\App.exe on a machine with 8 GiB.
class AssembleVmOptions : public ::testing::Test {
protected:
    AssembleVmOptions()
    {
        files.matches = {
            {L"C:\\App\\lib\\*.jar", {L"a.jar", L"b.jar"}},
            {L"C:\\App\\lib\\app.jar", {L"app.jar"}},
            {L"C:\\libs\\*.jar", {L"x.jar"}},
        };
        environment.set(L"USERPROFILE", L"C:\\Users\\me");
        environment.set(L"LIBS", L"C:\\libs");
        environment.set(L"LIST", L"C:\\a.jar;C:\\b.jar;;");
        environment.set(L"STACK", L"2m");
        environment.set(L"LOGS", L"C:\\Logs");
        environment.set(L"NAME", L"Zo\u00eb");
    }

    VmOptionServices services()
    {
        VmOptionServices s;
        s.expandEnvironment = [this](const std::wstring& text) -> std::optional<std::wstring> {
            if (expansionFails) {
                return std::nullopt;
            }
            return environment.expand(text);
        };
        s.listMatches = files.lister();
        s.memoryStatus = [this] {
            ++memoryReads;
            return MemoryStatus{8 * kGiB, 0};
        };
        s.toAnsi = [](const std::wstring& text) -> Expected<std::string> { return fakeAnsi(text); };
        return s;
    }

    // The assembly, or nothing with its failure's message noted.
    struct Assembled : VmOptionAssembly {
        bool succeeded = false;
    };
    Assembled assemble(const LaunchOptionSettings& settings)
    {
        const Expected<VmOptionAssembly> result =
            assembleVmOptions(settings, L"C:\\App\\App.exe", L"C:\\App\\", services(), arguments);
        Assembled assembled;
        if (result) {
            static_cast<VmOptionAssembly&>(assembled) = *result;
            assembled.succeeded = true;
        } else {
            messages.push_back(result.failure().messageId);
        }
        return assembled;
    }

    FakeFileSystem files;
    FakeEnvironment environment;
    bool expansionFails = false;
    int memoryReads = 0;
    std::vector<int> messages;
    Texts arguments{L"given"};
};

TEST_F(AssembleVmOptions, ClassPathOption)
{
    struct Row {
        const char* name;
        Texts classPath;
        bool embeddedJar;
        std::string option;
    };
    const Row rows[] = {
        {"wildcard", {L"\\lib\\*.jar"}, false, "-Djava.class.path=C:\\App\\lib\\a.jar;C:\\App\\lib\\b.jar"},
        {"relative, missing relative dropped, absolute unchecked, network",
         {L"\\lib\\app.jar", L"\\missing.jar", L"C:\\libs\\gone.jar", L"\\\\srv\\share\\y.jar"},
         false,
         "-Djava.class.path=C:\\App\\lib\\app.jar;C:\\libs\\gone.jar;\\\\srv\\share\\y.jar"},
        {"entry expanded before classification", {L"%LIBS%\\*.jar"}, false, "-Djava.class.path=C:\\libs\\x.jar"},
        {"empty entries skipped", {L"", L"\\lib\\app.jar", L"", L"C:\\x.jar"}, false,
         "-Djava.class.path=C:\\App\\lib\\app.jar;C:\\x.jar"},
        {"embedded jar first", {L"\\lib\\*.jar"}, true,
         "-Djava.class.path=C:\\App\\App.exe;C:\\App\\lib\\a.jar;C:\\App\\lib\\b.jar"},
        {"embedded jar alone", {}, true, "-Djava.class.path=C:\\App\\App.exe"},
        {"a variable ending in separators leaves no empty last entry", {L"%LIST%"}, false,
         "-Djava.class.path=C:\\a.jar;C:\\b.jar"},
    };
    for (const Row& row : rows) {
        LaunchOptionSettings settings;
        settings.classPath = row.classPath;
        settings.embeddedJar = row.embeddedJar;
        files.searched.clear();
        const Assembled result = assemble(settings);
        EXPECT_TRUE(result.succeeded) << row.name;
        EXPECT_EQ(result.options, NarrowTexts{row.option}) << row.name;
        for (const std::wstring& pattern : files.searched) {
            EXPECT_NE(pattern, L"C:\\App") << row.name << ": searched for the launcher's folder itself";
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(AssembleVmOptions, UserParameters)
{
    struct Row {
        const char* name;
        std::wstring parameters;
        NarrowTexts options;  // after the class path option
        std::uint64_t stackSize;
    };
    const Row rows[] = {
        {"split and unquoted", L"-Xmx512m  -Dx=\"a b\"", {"-Xmx512m", "-Dx=a b"}, 0},
        {"leading spaces", L"   -Da", {"-Da"}, 0},
        {"environment expanded, undefined kept", L"-Dhome=%USERPROFILE% -Dy=%UNDEFINED%",
         {"-Dhome=C:\\Users\\me", "-Dy=%UNDEFINED%"}, 0},
        {"converted after expansion", L"-Dname=%NAME%", {"-Dname=Zo?"}, 0},
        {"stack read before expansion", L"-Xss%STACK%", {"-Xss2m"}, 0},
        {"last stack option wins", L"-Xss1m -Xss2m", {"-Xss1m", "-Xss2m"}, 2097152},
        {"malformed stack resets", L"-Xss1m -Xssk", {"-Xss1m", "-Xssk"}, 0},
        {"percentage rewritten", L"-Xmx50P -Xms1:512p -XMX50P", {"-Xmx4194304K", "-Xms524288K", "-XMX50P"}, 0},
        {"percentage stack rewritten, then derived", L"-Xss10P", {"-Xss838860K"}, 858992640},
        {"quoted percentage", L"\"-Xmx50P\"", {"-Xmx4194304K"}, 0},
    };
    for (const Row& row : rows) {
        LaunchOptionSettings settings;
        settings.classPath = {L"C:\\x.jar"};
        settings.vmParameters = row.parameters;
        const Assembled result = assemble(settings);
        NarrowTexts expected{"-Djava.class.path=C:\\x.jar"};
        expected.insert(expected.end(), row.options.begin(), row.options.end());
        EXPECT_TRUE(result.succeeded) << row.name;
        EXPECT_EQ(result.options, expected) << row.name;
        EXPECT_EQ(result.vmThreadStackSize, row.stackSize) << row.name;
    }
}

TEST_F(AssembleVmOptions, MemoryStatusReadOncePerPercentageOption)
{
    LaunchOptionSettings settings;
    settings.classPath = {L"C:\\x.jar"};
    settings.vmParameters = L"-Xmx50P -Xss1m -Xms10T -Xmx512m";
    assemble(settings);
    EXPECT_EQ(memoryReads, 2);
}

TEST_F(AssembleVmOptions, FailedExpansionKeepsTexts)
{
    expansionFails = true;
    LaunchOptionSettings settings;
    settings.classPath = {L"C:\\%LIBS%.jar"};
    settings.vmParameters = L"-Dhome=%USERPROFILE%";
    settings.outputFile = L"%LOGS%\\out.txt";
    settings.command = L"%USERPROFILE%";
    const Assembled result = assemble(settings);
    EXPECT_EQ(result.options, (NarrowTexts{"-Djava.class.path=C:\\%LIBS%.jar", "-Dhome=%USERPROFILE%"}));
    EXPECT_EQ(result.outputFile, L"%LOGS%\\out.txt");
    EXPECT_EQ(arguments, (Texts{L"given", L"%USERPROFILE%"}));
}

TEST_F(AssembleVmOptions, RedirectionAndCommand)
{
    LaunchOptionSettings settings;
    settings.classPath = {L"C:\\x.jar"};
    settings.outputFile = L"%LOGS%\\out.txt";
    settings.outputAppend = true;
    settings.errorFile = L"";
    settings.errorAppend = false;
    settings.command = L"a \"b c\"  %USERPROFILE%";
    const Assembled result = assemble(settings);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.outputFile, L"C:\\Logs\\out.txt");
    EXPECT_TRUE(result.outputAppend);
    EXPECT_EQ(result.errorFile, L"");
    EXPECT_FALSE(result.errorAppend);
    EXPECT_EQ(arguments, (Texts{L"given", L"a", L"b c", L"C:\\Users\\me"}));
}

TEST_F(AssembleVmOptions, EmptyClassPathStopsThePass)
{
    struct Row {
        const char* name;
        Texts classPath;
    };
    const Row rows[] = {
        {"no entries", {}},
        {"only missing relative entries", {L"\\missing.jar", L"\\lib\\*.zip"}},
        {"only empty entries", {L"", L""}},
        {"entry expanding to nothing", {L"%EMPTY%"}},
    };
    environment.set(L"EMPTY", L"");
    for (const Row& row : rows) {
        messages.clear();
        memoryReads = 0;
        arguments = {L"given"};
        LaunchOptionSettings settings;
        settings.classPath = row.classPath;
        settings.vmParameters = L"-Xss1m -Xmx50P";
        settings.outputFile = L"out.txt";
        settings.outputAppend = true;
        settings.errorFile = L"err.txt";
        settings.command = L"extra";
        const Assembled result = assemble(settings);
        EXPECT_FALSE(result.succeeded) << row.name;
        EXPECT_EQ(messages, std::vector<int>{IDS_CLASS_PATH_MISSING}) << row.name;
        EXPECT_TRUE(result.options.empty()) << row.name;
        EXPECT_EQ(result.vmThreadStackSize, 0u) << row.name;
        EXPECT_EQ(memoryReads, 0) << row.name;
        EXPECT_EQ(result.outputFile, L"") << row.name;
        EXPECT_FALSE(result.outputAppend) << row.name;
        EXPECT_EQ(result.errorFile, L"") << row.name;
        EXPECT_EQ(arguments, Texts{L"given"}) << row.name;
    }
}

TEST_F(AssembleVmOptions, TenThousandParametersWithAnUnterminatedQuote)
{
    std::wstring parameters;
    for (int i = 0; i < 10000; ++i) {
        parameters += L"-Dp" + std::to_wstring(i) + L"=v ";
    }
    parameters += L"-Dlast=\"open ended";
    LaunchOptionSettings settings;
    settings.classPath = {L"C:\\x.jar"};
    settings.vmParameters = parameters;
    const Assembled result = assemble(settings);
    ASSERT_EQ(result.options.size(), 10003u);
    EXPECT_EQ(result.options[1], "-Dp0=v");
    EXPECT_EQ(result.options[10000], "-Dp9999=v");
    EXPECT_EQ(result.options[10001], "-Dlast=\"open");
    EXPECT_EQ(result.options[10002], "ended");
}

} // namespace
