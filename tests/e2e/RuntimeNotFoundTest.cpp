// Starts that find no runtime: the "JRE Not Found" dialog, its link, and a
// folder chosen in the shell's folder browser that the next start uses.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "support/AppScenario.h"
#include "ui/RuntimeNotFoundDialogIds.h"

namespace {

const std::wstring kNotFound = L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE";
const wchar_t kMainIni[] =
    L"[Product Information]\nProduct Name=Acme\nProduct Code=7\n"
    L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n";

template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!condition() && ::GetTickCount64() < deadline) {
        ::Sleep(50);
    }
    return condition();
}

bool okEnabled(HWND dialog)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, IDC_RUNTIME_OK)) != FALSE;
}

// The launcher's per-user files go below the scenario (each test runs in a
// process of its own).
void useAppDataOf(const AppScenario& app)
{
    app.createFolder(L"appdata");
    ::SetEnvironmentVariableW(L"APPDATA", app.path(L"appdata").c_str());
}

// Selects `folder` in the shell's folder browser of another process (the
// path must lie in that process's memory) and presses its OK.
void chooseInFolderBrowser(HWND browser, const std::wstring& folder)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(browser, &processId);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    ASSERT_NE(process, nullptr);
    const SIZE_T bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ::WriteProcessMemory(process, remote, folder.c_str(), bytes, nullptr);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                          5000, &ignored);
    ::PostMessageW(browser, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(::GetDlgItem(browser, IDOK)));
    waitFor([browser] { return !::IsWindow(browser); }, 5000);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
}

TEST(RuntimeNotFound, SaysWhichRuntimeIsNeededAndEndsWhenDismissed)
{
    struct Row {
        const char* name;
        const wchar_t* runtimeKeys;
        std::wstring message;
        UINT dismissMessage;  // posted to the dialog
        WPARAM dismissParameter;
    };
    const Row rows[] = {
        {"any version, Cancel", L"", kNotFound + L" (latest version) from:", WM_COMMAND, IDCANCEL},
        {"server VM, Escape", L"Minimum Version=1.8\nJVM Type=server\n",
         kNotFound + L" with a server JVM (minimum version 1.8) from:", WM_KEYDOWN, VK_ESCAPE},
        {"maximum version, close box", L"Maximum Version=17\n", kNotFound + L" (maximum version 17) from:",
         WM_SYSCOMMAND, SC_CLOSE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        useAppDataOf(app);
        app.writeIni(std::wstring(L"[Product Information]\nProduct Name=Acme\nProduct Code=7\n"
                                  L"[Java Runtime Environment]\nMain Class=app.Main\n") +
                     row.runtimeKeys);
        const std::string iniBefore = app.readBytes(L"App.ini");
        bool okWasEnabled = true;
        const RunResult result = app.run(std::wstring(), 30000, [&](const DialogInfo& dialog) {
            okWasEnabled = okEnabled(dialog.window);
            ::PostMessageW(dialog.window, row.dismissMessage, row.dismissParameter, 0);
            return 0;
        });
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
        ASSERT_EQ(result.dialogs.size(), 1u);
        const DialogInfo& dialog = result.dialogs[0];
        EXPECT_EQ(dialog.title, L"JRE Not Found");
        ASSERT_NE(dialog.control(IDC_RUNTIME_MESSAGE), nullptr);
        EXPECT_EQ(dialog.control(IDC_RUNTIME_MESSAGE)->text, row.message);
        ASSERT_NE(dialog.control(IDC_RUNTIME_LINK), nullptr);
        EXPECT_EQ(dialog.control(IDC_RUNTIME_LINK)->text, L"" RUNTIME_DOWNLOAD_PAGE);
        EXPECT_FALSE(okWasEnabled);
        // Nothing was written anywhere.
        EXPECT_FALSE(app.exists(L"appdata\\Acme"));
        EXPECT_EQ(app.readBytes(L"App.ini"), iniBefore);
    }
}

TEST(RuntimeNotFound, BrowsedFolderIsRememberedAndTheNextStartUsesIt)
{
    struct Row {
        const char* name;
        const wchar_t* applicationKeys;
        const wchar_t* writtenFile;
    };
    const Row rows[] = {
        {"normal application: the per-user file", L"", L"appdata\\Acme\\7\\App.ini"},
        {"service: the main file", L"[Application]\nApplication Type=service\n", L"App.ini"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        useAppDataOf(app);
        app.writeIni(std::wstring(kMainIni) + row.applicationKeys);
        app.writeBytes(L"app.jar", "jar");
        const std::wstring jvmFolder = app.installRuntime(L"jre", TestRuntimeScenario{});

        HWND notFound = nullptr;
        int browses = 0;
        const RunResult first = app.run(std::wstring(), 90000, [&](const DialogInfo& dialog) {
            if (notFound == nullptr) {
                notFound = dialog.window;
                ++browses;
                return IDC_RUNTIME_BROWSE;
            }
            // The folder browser. Its first opening in a prefix may not take
            // the selection yet: then browse again.
            chooseInFolderBrowser(dialog.window, app.path(L"jre"));
            const bool usable = waitFor([&] { return okEnabled(notFound); }, 3000);
            const int next = usable ? IDOK : browses++ < 5 ? IDC_RUNTIME_BROWSE : IDCANCEL;
            ::PostMessageW(notFound, WM_COMMAND, next, 0);
            return 0;
        });
        ASSERT_FALSE(first.timedOut);
        EXPECT_EQ(first.exitCode, 0u);
        const std::string written = app.readBytes(row.writtenFile);
        EXPECT_NE(written.find(utf8(L"\r\nJRE Path=" + app.path(L"jre") + L"\\\r\n")), std::string::npos) << written;

        const RunResult second = app.run();
        EXPECT_FALSE(second.timedOut);
        EXPECT_EQ(second.exitCode, 0u);
        EXPECT_TRUE(second.dialogs.empty());
        EXPECT_EQ(readTestRuntimeLog(jvmFolder).values("create.end").size(), 2u);
    }
}

TEST(RuntimeNotFound, LinkShowsAndOpensTheConfiguredDownloadPage)
{
    // The page is a program: a second launcher with a runtime of its own,
    // whose log shows that it ran.
    AppScenario app;
    app.createFolder(L"page");
    app.installLauncher(L"page\\Page.exe");
    app.writeText(L"page\\Page.ini", kMainIni);
    app.writeBytes(L"page\\app.jar", "jar");
    const std::wstring pageJvmFolder = app.installRuntime(L"page", TestRuntimeScenario{});
    const std::wstring page = app.path(L"page\\Page.exe");
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nDownload Page=" + page + L"\n");

    bool opened = false;
    const RunResult result = app.run(std::wstring(), 30000, [&](const DialogInfo& dialog) {
        HWND link = ::GetDlgItem(dialog.window, IDC_RUNTIME_LINK);
        ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        opened = waitFor([&] { return readTestRuntimeLog(pageJvmFolder).has("destroy.done"); }, 15000);
        return IDCANCEL;
    });
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
    ASSERT_EQ(result.dialogs.size(), 1u);
    ASSERT_NE(result.dialogs[0].control(IDC_RUNTIME_LINK), nullptr);
    EXPECT_EQ(result.dialogs[0].control(IDC_RUNTIME_LINK)->text, page);
    EXPECT_TRUE(opened);
}

} // namespace
