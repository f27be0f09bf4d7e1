#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "util/MessageIds.h"
#include "config/IniDocument.h"
#include "config/SettingsReader.h"

namespace {

// Settings sources held in memory: the main file, the embedded text and an
// optional per-user file.
class FakeSource : public SettingsSource {
public:
    std::wstring mainFile;
    std::wstring embedded;
    bool perUserExists = false;
    std::wstring perUserFile;
    std::vector<int> shownMessages;
    std::wstring perUserAskedWithProductCode;

    std::unique_ptr<ConfigStore> openMainFile() override { return parsed(mainFile); }
    std::wstring embeddedSettingsText() override { return embedded; }
    std::unique_ptr<ConfigStore> openExistingPerUserFile(const LauncherSettings& settings) override
    {
        perUserAskedWithProductCode = settings.productCode;
        return perUserExists ? parsed(perUserFile) : nullptr;
    }

private:
    static std::unique_ptr<ConfigStore> parsed(const std::wstring& text)
    {
        auto document = std::make_unique<IniDocument>();
        document->parse(text);
        return document;
    }
};

// Reads the settings; the message of a failure is noted as shown.
bool readSettings(LauncherSettings& settings, FakeSource& source)
{
    const Expected<void> read = readSettings(settings, static_cast<SettingsSource&>(source));
    if (!read) {
        source.shownMessages.push_back(read.failure().messageId);
    }
    return static_cast<bool>(read);
}

const std::wstring kMainClassLine = L"[Java Runtime Environment]\r\nMain Class=org.example.App\r\n";

TEST(SettingsReader, ReadsEveryKeyOfTheMainFile)
{
    FakeSource source;
    source.mainFile =
        L"[Product Information]\r\nProduct Code=PC1\r\nProduct Name=My: App\r\n"
        L"[Java Runtime Environment]\r\nMinimum Version=1.6\r\nMaximum Version=1.8\r\n"
        L"Preferred versions=1.8;;11\r\nJRE Path=jre\\\r\nJVM Type=server\r\nJVM Source=only_JDK\r\n"
        L"VM Provider=IBM\r\nMain Class=org.example.App\r\nSystem Path=%WINDIR%\r\nLibrary Path=lib\r\n"
        L"Download Page=%TEMP%\\page.html\r\n"
        L"[Application]\r\nApplication Type=service\r\nFailure Check=yes\r\nOverride WorkingDir=YES\r\n"
        L"Pair Product=App32.exe\r\nPair Return Code=Yes\r\n";
    LauncherSettings settings;
    ASSERT_TRUE(readSettings(settings, source));
    EXPECT_TRUE(source.shownMessages.empty());
    EXPECT_EQ(settings.productCode, L"PC1");
    EXPECT_EQ(settings.productName, L"My: App");
    EXPECT_EQ(settings.versionRange.lower.components, (std::array<std::int32_t, 4>{1, 6, 0, 0}));
    EXPECT_EQ(settings.versionRange.upper.components, (std::array<std::int32_t, 4>{1, 8, 65535, 65535}));
    EXPECT_TRUE(settings.versionRange.hasUpperBound);
    EXPECT_TRUE(settings.isService);
    EXPECT_EQ(settings.preferredVersions, (std::vector<std::wstring>{L"1.8", L"", L"11"}));
    EXPECT_EQ(settings.jrePath, L"jre\\");
    EXPECT_EQ(settings.jvmType, JvmType::ServerOnly);
    EXPECT_FALSE(settings.searchFilter.searchBothKinds);
    EXPECT_TRUE(settings.searchFilter.jdkKind);
    EXPECT_FALSE(settings.searchFilter.jreKind);
    EXPECT_TRUE(settings.searchFilter.ibmAllowed);
    EXPECT_TRUE(settings.searchFilter.ibmFavoured);
    EXPECT_FALSE(settings.searchFilter.javaSoftAllowed);
    EXPECT_EQ(settings.mainClass, L"org/example/App");
    EXPECT_TRUE(settings.failureCheck);
    EXPECT_TRUE(settings.overrideWorkingDir);
    EXPECT_EQ(settings.systemPath, L"%WINDIR%");
    EXPECT_EQ(settings.libraryPath, L"lib");
    EXPECT_EQ(settings.pairProduct, L"App32.exe");
    EXPECT_TRUE(settings.pairReturnCode);
    EXPECT_EQ(settings.downloadPage, L"%TEMP%\\page.html");  // as written
    // A service never looks at a per-user file.
    EXPECT_EQ(source.perUserAskedWithProductCode, L"");
}

TEST(SettingsReader, MissingMainClassShowsMessageAndStops)
{
    struct Row {
        const char* name;
        std::wstring mainFile;
        std::wstring embedded;
    };
    const Row rows[] = {
        {"no file content", L"", L""},
        {"empty value", L"[Java Runtime Environment]\r\nMain Class=\r\n[Application]\r\nFailure Check=yes", L""},
        {"only in another section", L"[Application]\r\nMain Class=org.example.App\r\nFailure Check=yes", L""},
    };
    for (const Row& row : rows) {
        FakeSource source;
        source.mainFile = row.mainFile;
        source.embedded = row.embedded;
        LauncherSettings settings;
        EXPECT_FALSE(readSettings(settings, source)) << row.name;
        EXPECT_EQ(source.shownMessages, std::vector<int>{IDS_MAIN_CLASS_MISSING}) << row.name;
        EXPECT_FALSE(settings.failureCheck) << row.name << ": keys after Main Class must not be read";
    }
}

TEST(SettingsReader, MainClassFromEmbeddedTextOrExtensionSection)
{
    {
        FakeSource source;
        source.embedded = L"[Java Runtime Environment]\r\nMain Class=a.B\r\n";
        LauncherSettings settings;
        ASSERT_TRUE(readSettings(settings, source));
        EXPECT_EQ(settings.mainClass, L"a/B");
    }
    {
        FakeSource source;
        source.mainFile = L"[Java Runtime Environment+]\r\nMain Class=a.B\r\n";
        LauncherSettings settings;
        ASSERT_TRUE(readSettings(settings, source));
        // The extension joins with a space even to nothing.
        EXPECT_EQ(settings.mainClass, L" a/B");
    }
}

TEST(SettingsReader, ValueTestsAreExactOrYesInsensitive)
{
    struct Row {
        const char* name;
        std::wstring application;  // lines of section "Application"
        bool isService;
        bool failureCheck;
        bool overrideWorkingDir;
        bool pairReturnCode;
    };
    const Row rows[] = {
        {"nothing", L"", false, false, false, false},
        {"lower yes counts", L"Failure Check=yes\r\nOverride WorkingDir=yEs\r\nPair Return Code=YES", false, true, true, true},
        {"other words do not", L"Failure Check=true\r\nOverride WorkingDir=1\r\nPair Return Code=Yes please", false, false, false, false},
        {"service exact", L"Application Type=service", true, false, false, false},
        {"Service in capitals is not", L"Application Type=Service", false, false, false, false},
    };
    for (const Row& row : rows) {
        FakeSource source;
        source.mainFile = kMainClassLine + L"[Application]\r\n" + row.application;
        LauncherSettings settings;
        ASSERT_TRUE(readSettings(settings, source)) << row.name;
        EXPECT_EQ(settings.isService, row.isService) << row.name;
        EXPECT_EQ(settings.failureCheck, row.failureCheck) << row.name;
        EXPECT_EQ(settings.overrideWorkingDir, row.overrideWorkingDir) << row.name;
        EXPECT_EQ(settings.pairReturnCode, row.pairReturnCode) << row.name;
    }
}

TEST(SettingsReader, ServiceOnlyInExtensionSectionIsNotTheKeyword)
{
    FakeSource source;
    source.mainFile = kMainClassLine + L"[Application+]\r\nApplication Type=service\r\n";
    LauncherSettings settings;
    ASSERT_TRUE(readSettings(settings, source));
    EXPECT_FALSE(settings.isService);
}

TEST(SettingsReader, JvmSourceTable)
{
    struct Row {
        std::wstring value;
        bool searchBothKinds;
        bool jdkKind;
        bool jreKind;
    };
    const Row rows[] = {
        {L"", true, true, true},
        {L"favor_JRE", true, false, true},
        {L"favor_JDK", true, true, false},
        {L"only_JRE", false, false, true},
        {L"only_JDK", false, true, false},
        {L"only_jre", false, false, false},
        {L"FAVOR_JDK", false, false, false},
        {L"anything", false, false, false},
    };
    for (const Row& row : rows) {
        RuntimeSearchFilter filter;
        applyJvmSource(row.value, filter);
        const std::string name(row.value.begin(), row.value.end());
        EXPECT_EQ(filter.searchBothKinds, row.searchBothKinds) << "\"" << name << "\"";
        EXPECT_EQ(filter.jdkKind, row.jdkKind) << "\"" << name << "\"";
        EXPECT_EQ(filter.jreKind, row.jreKind) << "\"" << name << "\"";
    }

    // An empty value keeps an earlier searchBothKinds.
    RuntimeSearchFilter filter;
    filter.searchBothKinds = false;
    applyJvmSource(L"", filter);
    EXPECT_FALSE(filter.searchBothKinds);
}

TEST(SettingsReader, ProviderTableInAnyCase)
{
    struct Row {
        std::wstring value;
        // jrockitAllowed, jrockitFavoured, javaSoftAllowed, javaSoftFavoured, ibmAllowed, ibmFavoured
        std::array<bool, 6> flags;
    };
    const std::array<bool, 6> defaults{false, false, true, true, false, false};
    const Row rows[] = {
        {L"jrockit", {true, true, false, false, false, false}},
        {L"JRockit", {true, true, false, false, false, false}},
        {L"ibm", {false, false, false, false, true, true}},
        {L"IBM", {false, false, false, false, true, true}},
        {L"favor_sun", {true, false, true, true, true, false}},
        {L"Favor_Sun", {true, false, true, true, true, false}},
        {L"favor_jrockit", {true, true, true, false, true, false}},
        {L"FAVOR_JROCKIT", {true, true, true, false, true, false}},
        {L"favor_ibm", {true, false, true, false, true, true}},
        {L"favor_IBM", {true, false, true, false, true, true}},
        {L"any", {true, false, true, false, true, false}},
        {L"ANY", {true, false, true, false, true, false}},
        {L"sun", defaults},
        {L"", defaults},
    };
    for (const Row& row : rows) {
        FakeSource source;
        source.mainFile = kMainClassLine + L"VM Provider=" + row.value + L"\r\n";
        LauncherSettings settings;
        ASSERT_TRUE(readSettings(settings, source));
        const RuntimeSearchFilter& f = settings.searchFilter;
        const std::array<bool, 6> flags{f.jrockitAllowed, f.jrockitFavoured, f.javaSoftAllowed,
                                        f.javaSoftFavoured, f.ibmAllowed, f.ibmFavoured};
        EXPECT_EQ(flags, row.flags) << "\"" << std::string(row.value.begin(), row.value.end()) << "\"";
    }
}

TEST(SettingsReader, JvmTypeIsExact)
{
    EXPECT_EQ(jvmTypeFromSetting(L"server"), JvmType::ServerOnly);
    EXPECT_EQ(jvmTypeFromSetting(L"favor_server"), JvmType::FavorServer);
    EXPECT_EQ(jvmTypeFromSetting(L"Server"), JvmType::ClientFirst);
    EXPECT_EQ(jvmTypeFromSetting(L"client"), JvmType::ClientFirst);
    EXPECT_EQ(jvmTypeFromSetting(L""), JvmType::ClientFirst);
}

TEST(SettingsReader, JrePathFromPerUserFileWhenItExists)
{
    struct Row {
        const char* name;
        bool service;
        bool perUserExists;
        std::wstring perUserFile;
        std::wstring expected;
    };
    const Row rows[] = {
        {"no per-user file", false, false, L"", L"C:\\main\\"},
        {"per-user value wins", false, true, L"[Java Runtime Environment]\r\nJRE Path=D:\\user\\", L"D:\\user\\"},
        {"per-user file without the key empties it", false, true, L"[Other]\r\nx=y", L""},
        {"per-user file ignores extension sections",
         false, true, L"[Java Runtime Environment+]\r\nJRE Path=D:\\user\\", L""},
        {"service reads the main file", true, true, L"[Java Runtime Environment]\r\nJRE Path=D:\\user\\", L"C:\\main\\"},
    };
    for (const Row& row : rows) {
        FakeSource source;
        source.mainFile = L"[Product Information]\r\nProduct Code=PC\r\n" + kMainClassLine +
                          L"JRE Path=C:\\main\\\r\n[Application]\r\nApplication Type=" +
                          (row.service ? L"service" : L"") + L"\r\n";
        source.perUserExists = row.perUserExists;
        source.perUserFile = row.perUserFile;
        LauncherSettings settings;
        ASSERT_TRUE(readSettings(settings, source)) << row.name;
        EXPECT_EQ(settings.jrePath, row.expected) << row.name;
        if (!row.service) {
            EXPECT_EQ(source.perUserAskedWithProductCode, L"PC") << row.name << ": product values first";
        }
    }
}

TEST(SettingsReader, ProductValuesComeFromTheFileNotTheEmbeddedText)
{
    FakeSource source;
    source.embedded = L"[Product Information]\r\nProduct Name=Embedded\r\n" + kMainClassLine;
    LauncherSettings settings;
    ASSERT_TRUE(readSettings(settings, source));
    EXPECT_EQ(settings.productName, L"");
}

TEST(SettingsReader, LaterReadersOfTheirOwnKeys)
{
    FakeSource source;
    source.mainFile =
        L"[Application]\r\nSingle Instance=yes\r\nEmbedded Jar=YES\r\nOutput File=out.log\r\nOutput Append=Yes\r\n"
        L"Error File=err.log\r\nError Append=yes\r\nCmd=--mode \"two words\"\r\n"
        L"[Class Path]\r\nClass Path=a.jar;lib\\*.jar\r\n"
        L"[Java Runtime Environment]\r\nVirtual Machine Parameters=-Xmx1g\r\n"
        L"[Display]\r\nSplash Screen=splash.png\r\nSplash Screen Shadow=true\r\nPreffer Native Splash Screen=yes\r\n";
    const auto layered = openLayeredSettings(source);
    EXPECT_TRUE(readSingleInstance(*layered));
    const LaunchOptionSettings options = readLaunchOptionSettings(*layered);
    EXPECT_EQ(options.classPath, (std::vector<std::wstring>{L"a.jar", L"lib\\*.jar"}));
    EXPECT_TRUE(options.embeddedJar);
    EXPECT_EQ(options.vmParameters, L"-Xmx1g");
    EXPECT_EQ(options.outputFile, L"out.log");
    EXPECT_FALSE(options.outputAppend) << "\"Output Append\" is exact";
    EXPECT_EQ(options.errorFile, L"err.log");
    EXPECT_TRUE(options.errorAppend);
    EXPECT_EQ(options.command, L"--mode \"two words\"");
    const SplashSettings splash = readSplashSettings(*source.openMainFile());
    EXPECT_EQ(splash.image, L"splash.png");
    EXPECT_EQ(splash.shadow, L"true");
    EXPECT_TRUE(splash.preferNative);

    struct Row {
        std::wstring application;
        bool singleInstance;
    };
    const Row rows[] = {
        {L"Single Instance=Yes", false},
        {L"Single Instance=yes\r\nApplication Type=service", false},
        {L"Single Instance=yes\r\nApplication Type=Service", true},
        {L"", false},
    };
    for (const Row& row : rows) {
        FakeSource single;
        single.mainFile = L"[Application]\r\n" + row.application;
        EXPECT_EQ(readSingleInstance(*openLayeredSettings(single)), row.singleInstance)
            << std::string(row.application.begin(), row.application.end());
    }
}

TEST(SettingsReader, ServiceStopKeysGiveTheirDocumentedOutcomes)
{
    struct Row {
        std::wstring application;
        std::wstring stopClass;
        std::wstring stopMethod;
        unsigned timeout;
    };
    const Row rows[] = {
        {L"", L"", L"", 30},
        {L"Service Stop Method=org.example.App.shutdown\r\nService Stop Timeout=5", L"org/example/App", L"shutdown", 5},
        {L"Service Stop Method=Stopper.stop", L"Stopper", L"stop", 30},
        {L"Service Stop Method=stop", L"", L"", 30},
        {L"Service Stop Method=.stop", L"", L"", 30},
        {L"Service Stop Method=org.example.App.", L"", L"", 30},
        {L"Service Stop Timeout=0", L"", L"", 30},
        {L"Service Stop Timeout=-5", L"", L"", 30},
        {L"Service Stop Timeout=12s", L"", L"", 30},
        {L"Service Stop Timeout=99999999999999999999", L"", L"", 86400},
        {L"Service Stop Timeout=86401", L"", L"", 86400},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.application.begin(), row.application.end()));
        FakeSource source;
        source.mainFile = L"[Application]\r\n" + row.application;
        const ServiceSettings service = readServiceSettings(*openLayeredSettings(source));
        EXPECT_EQ(service.stopClass, row.stopClass);
        EXPECT_EQ(service.stopMethod, row.stopMethod);
        EXPECT_EQ(service.stopTimeoutSeconds, row.timeout);
    }
}

} // namespace
