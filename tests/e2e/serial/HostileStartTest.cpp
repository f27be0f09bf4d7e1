// Starts under hostile conditions: libraries of the runtime's name planted
// where a loader would look, a per-user settings file planted at the drive
// root for a missing or unusable APPDATA, a reader of standard error that
// comes late, a huge stack for the VM's thread. Serial: they create folders
// at the root of drive C: and in the user's roaming folder and remove them
// again.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <set>

#include "support/AppScenario.h"

namespace {

// The launcher as App.exe of the scenario, started in `currentFolder` with
// its standard output and error captured.
RunResult runFrom(const AppScenario& app, const std::wstring& currentFolder, DWORD errorReadDelayMs = 0)
{
    return runProcess(app.path(L"App.exe"), L"\"" + app.path(L"App.exe") + L"\"", currentFolder, 30000,
                      pressDefaultButton, true, nullptr, errorReadDelayMs);
}

// An environment variable of the test process, which the launcher inherits,
// changed for one scope and restored afterwards.
class ScopedVariable {
public:
    explicit ScopedVariable(const wchar_t* name) : name_(name), old_(::GetEnvironmentVariableW(name, nullptr, 0), L'\0')
    {
        hadValue_ = !old_.empty();  // an empty value still needs room for its NUL
        old_.resize(::GetEnvironmentVariableW(name, old_.data(), static_cast<DWORD>(old_.size())));
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(name_, hadValue_ ? old_.c_str() : nullptr); }

    const std::wstring& old() const { return old_; }
    // nullptr removes the variable.
    void set(const wchar_t* value) const { ::SetEnvironmentVariableW(name_, value); }

private:
    const wchar_t* name_;
    std::wstring old_;
    bool hadValue_ = false;
};

std::set<std::wstring> entriesOf(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            names.insert(data.cFileName);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    return names;
}

void expectCleanStart(const RunResult& result, const TestRuntimeLog& log)
{
    ASSERT_FALSE(result.timedOut);
    EXPECT_TRUE(result.dialogs.empty()) << utf8(result.messageTexts().empty() ? L"" : result.messageTexts()[0]);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(log.has("main.thread")) << "main did not run";
    EXPECT_EQ(log.values("error"), std::vector<std::string>{});
}

TEST(HostileStart, PlantedCopiesOfTheRuntimesLibrariesAreNotLoaded)
{
    // jvm.dll imports jvmcrt.dll, which belongs in the runtime's bin folder;
    // a planted copy of that name anywhere else must lose against it.
    const wchar_t* const plantedIn[] = {L"current", L"", L"onpath"};
    for (const wchar_t* folder : plantedIn) {
        SCOPED_TRACE(utf8(folder[0] ? folder : L"beside App.exe"));
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(kMinimalIni);
        const std::wstring jvmFolder = app.installRuntime(L"jre64", {}, TestRuntimeVariant::ImportsCrt);
        ASSERT_FALSE(jvmFolder.empty());
        app.createFolder(L"current");
        app.createFolder(L"onpath");
        const std::wstring planted = std::wstring(folder) + (folder[0] ? L"\\" : L"") + L"jvmcrt.dll";
        ASSERT_TRUE(::CopyFileW(testCrtLibrary(AppScenario::runtimeBuildFolder(), TestCrtFlavour::Planted).c_str(),
                                app.path(planted).c_str(), FALSE));
        const ScopedVariable path(L"Path");
        path.set((app.path(L"onpath") + L";" + path.old()).c_str());

        const RunResult result = runFrom(app, app.path(L"current"));
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        expectCleanStart(result, log);
        const std::string crt = log.value("crt");
        EXPECT_EQ(crt.substr(0, crt.find(' ')), "runtime") << crt;
    }
}

TEST(HostileStart, WithoutAFullAppDataThePerUserFileComesFromTheRoamingFolderNotTheDriveRoot)
{
    // A naive join of APPDATA with "\<Product Name>\<Product Code>\App.ini"
    // lands at the drive root (unset, empty, "C:") or below the current
    // folder ("x"); files planted there must not be read. The shell's roaming
    // folder holds the file that counts, and it alone decides "JRE Path".
    const std::wstring productName = L"Hostile Start Test Product";
    const std::wstring productCode = L"hst-4711";
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring current = std::wstring(temp) + L"HostileStart.current";
    ASSERT_EQ(current.substr(0, 3), L"C:\\");
    const std::wstring root = current.substr(0, 3);
    PWSTR roaming = nullptr;
    ASSERT_TRUE(SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)));
    const std::wstring roamingFolder = std::wstring(roaming) + L"\\" + productName;
    ::CoTaskMemFree(roaming);
    const std::wstring plantedFolders[] = {root + productName, current + L"\\x\\" + productName};
    struct Cleanup {
        std::vector<std::wstring> folders;
        ~Cleanup()
        {
            for (const std::wstring& folder : folders) {
                removeTree(folder);
            }
        }
    } cleanup{{plantedFolders[0], plantedFolders[1], roamingFolder, current}};
    // The per-user file below `folder`, naming the runtime in `home`.
    auto writePerUserFile = [&](const std::wstring& folder, const std::wstring& home) {
        const std::string text = "[Java Runtime Environment]\r\nJRE Path=" + utf8(home) + "\r\n";
        EXPECT_TRUE(testruntime_detail::createFolders(folder + L"\\" + productCode));
        EXPECT_TRUE(testruntime_detail::writeBytes(folder + L"\\" + productCode + L"\\App.ini", text));
        return text;
    };

    const wchar_t* const appDataValues[] = {nullptr, L"", L"x", L"C:"};
    for (const wchar_t* appData : appDataValues) {
        SCOPED_TRACE(appData ? "APPDATA=" + utf8(appData) : std::string("APPDATA unset"));
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        const std::wstring configuredFolder = app.installRuntime(L"configured", {});
        const std::wstring roamingRuntimeFolder = app.installRuntime(L"roaming", {});
        const std::wstring strangerFolder = app.installRuntime(L"stranger", {});
        app.writeIni(L"[Product Information]\nProduct Name=" + productName + L"\nProduct Code=" + productCode +
                     L"\n[Java Runtime Environment]\nMain Class=app.Main\nJRE Path=" + app.path(L"configured") +
                     L"\n[Class Path]\nClass Path=\\app.jar\n");
        writePerUserFile(roamingFolder, app.path(L"roaming"));
        const std::string planted = writePerUserFile(plantedFolders[0], app.path(L"stranger"));
        writePerUserFile(plantedFolders[1], app.path(L"stranger"));
        const std::set<std::wstring> rootBefore = entriesOf(root);
        const ScopedVariable variable(L"APPDATA");
        variable.set(appData);

        const RunResult result = runFrom(app, current);
        expectCleanStart(result, readTestRuntimeLog(roamingRuntimeFolder));
        EXPECT_TRUE(readTestRuntimeLog(configuredFolder).entries.empty()) << "the roaming folder's file was not read";
        EXPECT_TRUE(readTestRuntimeLog(strangerFolder).entries.empty()) << "a planted file chose the runtime";
        EXPECT_EQ(entriesOf(root), rootBefore);
        for (const std::wstring& folder : plantedFolders) {
            EXPECT_EQ(readFileBytes(folder + L"\\" + productCode + L"\\App.ini"), planted);
            EXPECT_EQ(entriesOf(folder + L"\\" + productCode + L"\\"), (std::set<std::wstring>{L".", L"..", L"App.ini"}));
        }
    }
}

// Starts the launcher as App.exe with the test runtime in its folder and
// the VM parameters given; `log` receives what the runtime logged.
RunResult startApp(const std::wstring& vmParameters, const TestRuntimeScenario& runtime, TestRuntimeLog& log,
                   DWORD errorReadDelayMs = 0)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nVirtual Machine Parameters=" + vmParameters +
                 L"\n[Class Path]\nClass Path=\\app.jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", runtime);
    const RunResult result = runFrom(app, app.folder(), errorReadDelayMs);
    log = readTestRuntimeLog(jvmFolder);
    return result;
}

TEST(HostileStart, ReaderOfStandardErrorThatComesLateGetsEveryByte)
{
    // 60 KB fit into the pipes on the way (4 KB of the reader's, the
    // launcher's own), so main returns and the launcher comes to its end
    // while it still holds most of them; 1 MB keep main writing until the
    // reader comes.
    for (const std::size_t size : {std::size_t{60} << 10, std::size_t{1} << 20}) {
        SCOPED_TRACE(std::to_string(size) + " bytes");
        TestRuntimeScenario runtime;
        runtime.errBytes = size;
        TestRuntimeLog log;
        const RunResult result = startApp(L"", runtime, log, 5000);
        expectCleanStart(result, log);
        EXPECT_EQ(log.value("main.errbytes"), std::to_string(size));
        const std::string& got = result.standardError;
        EXPECT_EQ(got.size(), size);
        const std::string tail = got.substr(got.size() - std::min<std::size_t>(got.size(), 200));
        EXPECT_TRUE(got == standardErrorText(size)) << "the text differs; it ends with: " << tail;
    }
}

TEST(HostileStart, OneGigabyteStackForTheVmThreadStartsMain)
{
    TestRuntimeLog log;
    const RunResult result = startApp(L"-Xss1g", TestRuntimeScenario{}, log);
    expectCleanStart(result, log);
    ASSERT_GE(log.values("option").size(), 2u);
    EXPECT_EQ(log.values("option")[1], "-Xss1g");
    EXPECT_GE(std::strtoull(log.value("create.stack").c_str(), nullptr, 10), 1ull << 30);
}

} // namespace
