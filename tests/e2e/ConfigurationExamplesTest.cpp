// The examples of docs/configuration.md, taken from the page itself and laid
// out as the page describes them: the launcher as C:\Apps\Tool\Tool.exe,
// started from another folder, as a shortcut or a command prompt would.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "support/AppScenario.h"

namespace {

const std::wstring kTool = L"C:\\Apps\\Tool";

// The example of a key in the page's tables: the last `...` of its row.
std::wstring documentedExample(const std::string& page, const std::string& key)
{
    const std::size_t row = page.find("\n| " + key + " |");
    if (row == std::string::npos) {
        return std::wstring();
    }
    const std::string line = page.substr(row + 1, page.find('\n', row + 1) - row - 1);
    const std::size_t close = line.rfind('`');
    const std::size_t open = close == std::string::npos || close == 0 ? std::string::npos : line.rfind('`', close - 1);
    return open == std::string::npos ? std::wstring() : std::wstring(line.begin() + open + 1, line.begin() + close);
}

// Every key that has a row in the page's tables.
std::set<std::string> documentedKeys(const std::string& page)
{
    std::set<std::string> keys;
    for (std::size_t at = page.find("\n| "); at != std::string::npos; at = page.find("\n| ", at + 1)) {
        const std::string key = page.substr(at + 3, page.find(" |", at + 3) - at - 3);
        if (key != "Key" && !documentedExample(page, key).empty()) {
            keys.insert(key);
        }
    }
    return keys;
}

std::wstring environmentValue(const wchar_t* name)
{
    wchar_t value[32767];
    const DWORD length = ::GetEnvironmentVariableW(name, value, 32767);
    return length < 32767 ? std::wstring(value, length) : std::wstring();
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

struct Outcome {
    RunResult result;
    TestRuntimeLog log;
    std::vector<std::string> options;  // without the two hooks
};

TEST(ConfigurationExamples, EveryDocumentedExampleWorksAsWritten)
{
    const std::string page = readFileBytes(std::wstring(L"" E2E_SOURCE_ROOT) + L"/docs/configuration.md");
    ASSERT_FALSE(page.empty());
    const std::string tool = utf8(kTool);
    const std::string temp = utf8(environmentValue(L"TEMP"));
    struct Row {
        std::string key;
        const wchar_t* section;
        std::vector<std::wstring> files;  // laid out below C:\Apps\Tool
        const wchar_t* runtimeHome;       // where the test runtime lies, below C:\Apps\Tool
        std::function<void(const Outcome&)> check;
    };
    const std::vector<Row> rows = {
        {"Main Class", L"Java Runtime Environment", {L"app.jar"}, L"jre64",
         [](const Outcome& o) { EXPECT_EQ(o.log.value("checkandloadmain"), "1 1 org.example.App"); }},
        {"Class Path", L"Class Path", {L"app.jar", L"lib\\a.jar"}, L"jre64",
         [&](const Outcome& o) {
             EXPECT_EQ(o.options.at(0), "-Djava.class.path=" + tool + "\\app.jar;" + tool + "\\lib\\a.jar");
         }},
        {"JRE Path", L"Java Runtime Environment", {L"app.jar"}, L"jre",
         [](const Outcome& o) { EXPECT_TRUE(o.log.has("create.result")); }},
        {"Library Path", L"Java Runtime Environment", {L"app.jar", L"native\\n.dll"}, L"jre64",
         [&](const Outcome& o) {
             EXPECT_TRUE(startsWith(o.options.at(0), "-Djava.library.path=" + tool + "\\native;" + tool + "\\;"))
                 << o.options.at(0);
         }},
        {"System Path", L"Java Runtime Environment", {L"app.jar"}, L"jre64",
         [](const Outcome& o) {
             EXPECT_TRUE(startsWith(o.log.value("env.Path"), utf8(environmentValue(L"ProgramFiles")) + "\\Acme\\bin;"))
                 << o.log.value("env.Path");
         }},
        {"JVM Type", L"Java Runtime Environment", {L"app.jar"}, L"jre64",
         [](const Outcome& o) { EXPECT_TRUE(o.log.has("create.result")); }},
        {"Virtual Machine Parameters", L"Java Runtime Environment", {L"app.jar"}, L"jre64",
         [](const Outcome& o) {
             EXPECT_EQ(std::vector<std::string>(o.options.begin() + 1, o.options.end()),
                       (std::vector<std::string>{"-Xmx512m", "-Dapp.mode=prod"}));
         }},
        {"Embedded Jar", L"Application", {L"app.jar"}, L"jre64",
         [&](const Outcome& o) { EXPECT_TRUE(startsWith(o.options.at(0), "-Djava.class.path=" + tool + "\\Tool.exe;")); }},
        {"Output File", L"Application", {L"app.jar"}, L"jre64",
         [&](const Outcome& o) { EXPECT_EQ(o.log.value("setout"), temp + "\\acme-out.log"); }},
        {"Error File", L"Application", {L"app.jar"}, L"jre64",
         [&](const Outcome& o) { EXPECT_EQ(o.log.value("seterr"), temp + "\\acme-err.log"); }},
        {"Cmd", L"Application", {L"app.jar"}, L"jre64",
         [](const Outcome& o) { EXPECT_EQ(mainArguments(o.log), (std::vector<std::string>{"--mode", "two words"})); }},
    };
    // Examples without a file or folder in them, or whose effect needs more
    // than one start (the registry, a second start, a dialog, a 32-bit
    // runtime, the service manager); the tests of their subjects cover them.
    const std::set<std::string> notStartedHere = {
        "Product Code", "Product Name", "Minimum Version", "Maximum Version", "Preferred versions", "JVM Source",
        "VM Provider", "Application Type", "Failure Check", "Override WorkingDir", "Pair Product", "Pair Return Code",
        "Single Instance", "Output Append", "Error Append", "Splash Screen", "Splash Screen Shadow",
        "Preffer Native Splash Screen", "Search Vendor Runtimes", "Use JAVA_HOME", "Download Page", "Class Data Sharing",
        "Service Stop Method", "Service Stop Timeout",
    };
    std::set<std::string> covered = notStartedHere;
    for (const Row& row : rows) {
        covered.insert(row.key);
    }
    EXPECT_EQ(documentedKeys(page), covered) << "an example of the page is neither started here nor listed as left out";

    const std::wstring elsewhere = kTool + L"-start";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        const std::wstring example = documentedExample(page, row.key);
        ASSERT_FALSE(example.empty());
        removeTree(kTool);
        ASSERT_TRUE(testruntime_detail::createFolders(kTool));
        ASSERT_TRUE(testruntime_detail::createFolders(elsewhere));
        ASSERT_TRUE(::CopyFileW(launcherPath().c_str(), (kTool + L"\\Tool.exe").c_str(), FALSE));
        for (const std::wstring& file : row.files) {
            const std::wstring path = kTool + L"\\" + file;
            ASSERT_TRUE(testruntime_detail::createFolders(path.substr(0, path.rfind(L'\\'))));
            ASSERT_TRUE(testruntime_detail::writeBytes(path, "file"));
        }
        TestRuntimeScenario runtime;
        runtime.mainClass = row.key == "Main Class" ? "org/example/App" : "app/Main";
        runtime.environment = {"Path"};
        const std::wstring jvm = installTestRuntime(AppScenario::runtimeBuildFolder(), TestRuntimeVariant::Standard,
                                                    kTool + L"\\" + row.runtimeHome, runtime);
        // The example comes first in its section, so it wins over the defaults.
        std::wstring ini;
        for (const auto& [section, defaults] : {std::pair<std::wstring, std::wstring>{L"Java Runtime Environment",
                                                                                       L"Main Class=app.Main\r\n"},
                                                {L"Class Path", L"Class Path=\\app.jar\r\n"},
                                                {L"Application", L""}}) {
            ini += L"[" + section + L"]\r\n" + (section == row.section ? example + L"\r\n" : L"") + defaults;
        }
        ASSERT_TRUE(testruntime_detail::writeBytes(kTool + L"\\Tool.ini", utf8(ini)));

        Outcome outcome;
        outcome.result = runProcess(kTool + L"\\Tool.exe", L"\"" + kTool + L"\\Tool.exe\"", elsewhere, 30000,
                                    pressDefaultButton);
        ASSERT_FALSE(outcome.result.timedOut);
        EXPECT_EQ(outcome.result.exitCode, 0u);
        EXPECT_EQ(outcome.result.messageTexts(), std::vector<std::wstring>{});
        outcome.log = readTestRuntimeLog(jvm.substr(0, jvm.rfind(L'\\')));
        outcome.options = outcome.log.values("option");
        ASSERT_GE(outcome.options.size(), 3u) << "the VM was not created";
        outcome.options.resize(outcome.options.size() - 2);
        row.check(outcome);
    }
    removeTree(kTool);
    removeTree(elsewhere);
    ::DeleteFileW((environmentValue(L"TEMP") + L"\\acme-out.log").c_str());
    ::DeleteFileW((environmentValue(L"TEMP") + L"\\acme-err.log").c_str());
}

} // namespace
