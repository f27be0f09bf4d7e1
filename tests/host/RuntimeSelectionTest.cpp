#include <gtest/gtest.h>

#include <map>
#include <set>

#include "util/MessageIds.h"
#include "runtime/RuntimeSelection.h"

namespace {

std::string show(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

VersionNumber version(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    VersionNumber v;
    v.components = {a, b, c, d};
    return v;
}

class FakeHost : public RuntimeSelectionHost {
public:
    std::set<std::wstring> files;
    std::set<std::wstring> x86Libraries;
    std::optional<std::wstring> executable = std::wstring(L"C:\\App\\App.exe");
    std::map<RegistryView, std::vector<RuntimeCandidate>> registry;
    std::optional<UserChoice> userChoice;
    std::map<std::wstring, std::wstring> environment;
    std::map<std::wstring, std::string> textFiles;
    std::vector<std::wstring> dialogMessages;
    std::vector<std::wstring> remembered;
    bool elevated = false;

    bool pathExists(const std::wstring& path) override { return files.count(path) != 0; }
    std::optional<std::wstring> executablePath() override { return executable; }
    bool isX86Library(const std::wstring& path) override { return x86Libraries.count(path) != 0; }
    std::vector<RuntimeCandidate> searchRegistry(const LauncherSettings&, RegistryView view) override
    {
        return registry[view];
    }
    bool runsElevated() override { return elevated; }
    std::wstring loadMessage(int id) override
    {
        switch (id) {
        case IDS_JRE_NOT_FOUND_SERVER: return L"server JRE (%s)";
        case IDS_JRE_NOT_FOUND: return L"JRE (%s)";
        case IDS_VERSION_LATEST: return L"latest version";
        case IDS_VERSION_MINIMUM: return L"minimum version %s";
        default: return L"?";
        }
    }
    std::optional<std::wstring> environmentVariable(const std::wstring& name) override
    {
        const auto found = environment.find(name);
        return found == environment.end() ? std::nullopt : std::optional<std::wstring>(found->second);
    }
    std::optional<std::string> readSmallFile(const std::wstring& path) override
    {
        const auto found = textFiles.find(path);
        return found == textFiles.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::optional<UserChoice> askUserForRuntime(const std::wstring& message, const std::wstring&, JvmType) override
    {
        dialogMessages.push_back(message);
        return userChoice;
    }
    void rememberJrePath(const std::wstring& folder) override { remembered.push_back(folder); }
};

TEST(RuntimeProbe, FindsTheLibraryInTheOrderOfTheJvmType)
{
    struct Row {
        const char* name;
        std::set<std::wstring> files;
        JvmType type;
        std::wstring expected;
        bool server;
    };
    const std::wstring client = L"C:\\J\\bin\\client\\jvm.dll";
    const std::wstring server = L"C:\\J\\bin\\server\\jvm.dll";
    const std::wstring jrockit = L"C:\\J\\bin\\jrockit\\jvm.dll";
    const std::vector<Row> rows = {
        {"both, client first", {client, server}, JvmType::ClientFirst, client, false},
        {"both, favor server", {client, server}, JvmType::FavorServer, server, true},
        {"both, server only", {client, server}, JvmType::ServerOnly, server, true},
        {"server alone, client first", {server}, JvmType::ClientFirst, server, true},
        {"client alone, server only", {client}, JvmType::ServerOnly, L"", false},
        {"jrockit, client first", {jrockit}, JvmType::ClientFirst, jrockit, false},
        {"jrockit, favor server", {jrockit}, JvmType::FavorServer, jrockit, false},
        {"nothing", {}, JvmType::ClientFirst, L"", false},
    };
    for (const Row& row : rows) {
        bool hasServerVm = false;
        const std::wstring found =
            findJvmLibrary(L"C:\\J\\", row.type, hasServerVm, [&](const std::wstring& p) { return row.files.count(p) != 0; });
        EXPECT_EQ(found, row.expected) << row.name;
        EXPECT_EQ(hasServerVm, row.server) << row.name;
    }
    // Nothing found leaves the caller's flag alone.
    bool untouched = true;
    findJvmLibrary(L"C:\\none\\", JvmType::ClientFirst, untouched, [](const std::wstring&) { return false; });
    EXPECT_TRUE(untouched);
}

TEST(RuntimeSelection, SourcesAreTriedInOrder)
{
    struct Row {
        const char* name;
        std::wstring jrePath;
        std::set<std::wstring> files;
        std::wstring expected;
    };
    const std::vector<Row> rows = {
        {"configured folder without final backslash", L"D:\\jre",
         {L"D:\\jre\\bin\\server\\jvm.dll", L"C:\\App\\bin\\java.dll", L"C:\\App\\bin\\client\\jvm.dll"},
         L"D:\\jre\\bin\\server\\jvm.dll"},
        {"stale configured folder falls through to the executable's folder", L"D:\\gone\\",
         {L"C:\\App\\bin\\java.dll", L"C:\\App\\bin\\client\\jvm.dll"}, L"C:\\App\\bin\\client\\jvm.dll"},
        {"jre64 subfolder", L"",
         {L"C:\\App\\jre64\\bin\\java.dll", L"C:\\App\\jre64\\bin\\server\\jvm.dll"},
         L"C:\\App\\jre64\\bin\\server\\jvm.dll"},
        {"folder beside wins over jre64", L"",
         {L"C:\\App\\bin\\java.dll", L"C:\\App\\bin\\server\\jvm.dll", L"C:\\App\\jre64\\bin\\java.dll",
          L"C:\\App\\jre64\\bin\\server\\jvm.dll"},
         L"C:\\App\\bin\\server\\jvm.dll"},
        // A library in the current directory is never taken for the folder
        // beside the executable: the search goes on to the user.
        {"no marker: nothing from the current directory", L"", {L"bin\\client\\jvm.dll", L"bin\\server\\jvm.dll"},
         L""},
        {"relative configured folder", L"runtime", {L"runtime\\bin\\server\\jvm.dll"},
         L"runtime\\bin\\server\\jvm.dll"},
    };
    for (const Row& row : rows) {
        FakeHost host;
        host.files = row.files;
        LauncherSettings settings;
        settings.jrePath = row.jrePath;
        const auto selection = selectRuntime(settings, host);
        if (row.expected.empty()) {
            EXPECT_FALSE(selection.has_value()) << row.name;
            EXPECT_EQ(host.dialogMessages.size(), 1u) << row.name;
            continue;
        }
        ASSERT_TRUE(selection.has_value()) << row.name;
        EXPECT_EQ(selection->jvmLibraryPath, row.expected) << row.name;
        EXPECT_FALSE(selection->relaunchThroughPair) << row.name;
        EXPECT_TRUE(host.dialogMessages.empty()) << row.name;
    }
}

TEST(RuntimeSelection, PairCheckAppliesToTheConfiguredFolderOnly)
{
    FakeHost host;
    const std::wstring library = L"D:\\jre32\\bin\\client\\jvm.dll";
    host.files = {library};
    host.x86Libraries = {library, L"C:\\App\\bin\\client\\jvm.dll"};
    LauncherSettings settings;
    settings.jrePath = L"D:\\jre32\\";
    settings.pairProduct = L"App32.exe";
    auto selection = selectRuntime(settings, host);
    ASSERT_TRUE(selection.has_value());
    EXPECT_TRUE(selection->relaunchThroughPair);

    settings.pairProduct.clear();
    selection = selectRuntime(settings, host);
    ASSERT_TRUE(selection.has_value());
    EXPECT_FALSE(selection->relaunchThroughPair) << "without a pair launcher the library is loaded as it is";

    // A 32-bit runtime beside the executable is no reason to hand over.
    FakeHost beside;
    beside.files = {L"C:\\App\\bin\\java.dll", L"C:\\App\\bin\\client\\jvm.dll"};
    beside.x86Libraries = {L"C:\\App\\bin\\client\\jvm.dll"};
    settings.pairProduct = L"App32.exe";
    settings.jrePath.clear();
    selection = selectRuntime(settings, beside);
    ASSERT_TRUE(selection.has_value());
    EXPECT_FALSE(selection->relaunchThroughPair);
}

TEST(RuntimeSelection, RegistryViewsAndTheUser)
{
    const RuntimeCandidate own{version(11, 0, 2, 0), L"C:\\Java\\jdk-11\\", true, true};
    const RuntimeCandidate bits32{version(1, 8, 0, 251), L"C:\\Java32\\jre8\\", false, true};
    LauncherSettings settings;
    settings.versionRange.lower = version(1, 7, 0, 0);

    FakeHost host;
    host.executable.reset();
    host.files = {L"C:\\Java\\jdk-11\\bin\\server\\jvm.dll", L"C:\\Java32\\jre8\\bin\\client\\jvm.dll"};
    host.registry[RegistryView::Own] = {own};
    host.registry[RegistryView::Bits32] = {bits32};
    auto selection = selectRuntime(settings, host);
    ASSERT_TRUE(selection.has_value());
    EXPECT_EQ(selection->jvmLibraryPath, L"C:\\Java\\jdk-11\\bin\\server\\jvm.dll");
    EXPECT_FALSE(selection->relaunchThroughPair);
    EXPECT_TRUE(selection->version == own.version);

    // Only the 32-bit view has one: used through the pair launcher, and only
    // when there is one.
    host.registry[RegistryView::Own].clear();
    settings.pairProduct = L"App32.exe";
    selection = selectRuntime(settings, host);
    ASSERT_TRUE(selection.has_value());
    EXPECT_EQ(selection->jvmLibraryPath, L"C:\\Java32\\jre8\\bin\\client\\jvm.dll");
    EXPECT_TRUE(selection->relaunchThroughPair);

    settings.pairProduct.clear();
    host.userChoice = RuntimeSelectionHost::UserChoice{L"E:\\picked\\", L"E:\\picked\\bin\\server\\jvm.dll"};
    selection = selectRuntime(settings, host);
    ASSERT_TRUE(selection.has_value());
    EXPECT_EQ(selection->jvmLibraryPath, L"E:\\picked\\bin\\server\\jvm.dll");
    EXPECT_FALSE(selection->version.has_value());
    ASSERT_EQ(host.dialogMessages.size(), 1u);
    EXPECT_EQ(host.dialogMessages[0], L"JRE (minimum version 1.7)");
    EXPECT_EQ(host.remembered, std::vector<std::wstring>{L"E:\\picked\\"});

    // Cancelled: no selection, nothing remembered.
    host.userChoice.reset();
    settings.jvmType = JvmType::ServerOnly;
    EXPECT_FALSE(selectRuntime(settings, host).has_value());
    EXPECT_EQ(host.dialogMessages.back(), L"server JRE (minimum version 1.7)");
    EXPECT_EQ(host.remembered.size(), 1u);
}

TEST(RuntimeSelection, JavaHomeWhenAskedForAndItsReleaseIsInRange)
{
    const std::wstring library = L"C:\\jdk\\bin\\server\\jvm.dll";
    struct Row {
        const char* name;
        bool useJavaHome;
        std::optional<std::wstring> javaHome;
        std::optional<std::string> release;
        std::int32_t lowerMajor;
        bool registered;  // a runtime in the registry as well
        std::wstring expected;  // empty: the dialog
        bool elevated = false;
    };
    const Row rows[] = {
        {"not asked for", false, L"C:\\jdk", "JAVA_VERSION=\"17.0.2\"\n", 0, false, L""},
        {"in range", true, L"C:\\jdk", "IMPLEMENTOR=\"x\"\r\nJAVA_VERSION=\"17.0.2\"\r\n", 11, false, library},
        {"below the range", true, L"C:\\jdk\\", "JAVA_VERSION=\"1.8.0_292\"\n", 11, false, L""},
        {"no release file, no lower bound", true, L"C:\\jdk", std::nullopt, 0, false, library},
        {"no release file, a lower bound", true, L"C:\\jdk", std::nullopt, 11, false, L""},
        {"not set", true, std::nullopt, std::nullopt, 0, false, L""},
        {"no library there", true, L"C:\\elsewhere", "JAVA_VERSION=\"17\"", 0, false, L""},
        {"the registry comes first", true, L"C:\\jdk", "JAVA_VERSION=\"17\"", 0, true, L"C:\\reg\\bin\\server\\jvm.dll"},
        {"elevated: not used", true, L"C:\\jdk", "JAVA_VERSION=\"17\"", 0, false, L"", true},
        {"elevated: the registry still is", true, L"C:\\jdk", "JAVA_VERSION=\"17\"", 0, true,
         L"C:\\reg\\bin\\server\\jvm.dll", true},
    };
    for (const Row& row : rows) {
        FakeHost host;
        host.executable.reset();
        host.elevated = row.elevated;
        host.files = {library, L"C:\\reg\\bin\\server\\jvm.dll"};
        if (row.javaHome) {
            host.environment[L"JAVA_HOME"] = *row.javaHome;
        }
        if (row.release) {
            host.textFiles[L"C:\\jdk\\release"] = *row.release;
        }
        if (row.registered) {
            host.registry[RegistryView::Own] = {RuntimeCandidate{version(11, 0, 0, 0), L"C:\\reg\\", true, true}};
        }
        LauncherSettings settings;
        settings.useJavaHome = row.useJavaHome;
        settings.versionRange.lower = version(row.lowerMajor, 0, 0, 0);
        std::wstring traced;
        const auto selection = selectRuntime(settings, host, Trace([&](const std::wstring& line) { traced += line; }));
        EXPECT_EQ(selection ? selection->jvmLibraryPath : std::wstring(), row.expected) << row.name;
        EXPECT_EQ(host.dialogMessages.size(), row.expected.empty() ? 1u : 0u) << row.name;
        EXPECT_EQ(traced.find(L"JAVA_HOME: skipped: the launcher runs elevated") != std::wstring::npos,
                  row.elevated && row.expected.empty())
            << row.name;
    }
}

TEST(RuntimeSelection, ChoosingAmongCandidates)
{
    const RuntimeCandidate v8{version(1, 8, 0, 251), L"C:\\j8\\", true, true};
    const RuntimeCandidate v11{version(11, 0, 2, 0), L"C:\\j11\\", true, true};
    const RuntimeCandidate v11Client{version(11, 0, 2, 0), L"C:\\j11c\\", false, true};
    const RuntimeCandidate jre8{version(1, 8, 0, 251), L"C:\\jre8\\", true, true};
    const RuntimeCandidate jdk11NotPreferred{version(11, 0, 2, 0), L"C:\\jdk11\\", true, false};

    struct Row {
        const char* name;
        std::vector<RuntimeCandidate> candidates;
        std::vector<std::wstring> preferredVersions;
        JvmType type;
        bool bothKinds;
        std::wstring expectedHome;
    };
    const std::vector<Row> rows = {
        {"higher version", {v8, v11}, {}, JvmType::ClientFirst, true, L"C:\\j11\\"},
        {"preferred version 1.8", {v8, v11}, {L"1.8"}, JvmType::ClientFirst, true, L"C:\\j8\\"},
        {"first matching preferred entry", {v8, v11}, {L"10", L"1.8"}, JvmType::ClientFirst, true, L"C:\\j8\\"},
        {"empty entry matches everything", {v11, v8}, {L"1.9", L"", L"1.8"}, JvmType::ClientFirst, true,
         L"C:\\j11\\"},
        {"favor server sorts server VMs first", {v11Client, v8}, {}, JvmType::FavorServer, true, L"C:\\j8\\"},
        {"preferred kind first", {jdk11NotPreferred, jre8}, {}, JvmType::ClientFirst, true, L"C:\\jre8\\"},
        {"preference ignored when one kind only", {jdk11NotPreferred, jre8}, {}, JvmType::ClientFirst, false,
         L"C:\\jdk11\\"},
        {"ties keep the order found", {v11, v11Client}, {}, JvmType::ClientFirst, true, L"C:\\j11\\"},
    };
    for (const Row& row : rows) {
        LauncherSettings settings;
        settings.preferredVersions = row.preferredVersions;
        settings.jvmType = row.type;
        settings.searchFilter.searchBothKinds = row.bothKinds;
        const auto chosen = chooseCandidate(row.candidates, settings);
        ASSERT_TRUE(chosen.has_value()) << row.name;
        EXPECT_EQ(chosen->homeFolder, row.expectedHome) << row.name << ": got " << show(chosen->homeFolder);
    }
    EXPECT_FALSE(chooseCandidate({}, LauncherSettings{}).has_value());
}

} // namespace
