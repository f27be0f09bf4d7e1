// Starts that find no runtime: the "JRE Not Found" dialog, its link, and a
// folder chosen in the shell's folder browser that the next start uses.
#include <gtest/gtest.h>

#include <shlobj.h>
// After the shell header, which brings what it needs.
#include <commctrl.h>

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
    while (!condition()) {
        if (::GetTickCount64() > deadline) {
            return false;
        }
        ::Sleep(50);
    }
    return true;
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

// The text of the selected item of a tree view in another process, read
// through `buffer`, memory of that process.
std::wstring selectedItemText(HANDLE process, HWND tree, char* buffer)
{
    DWORD_PTR item = 0;
    if (!::SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_NORMAL, 10000, &item) || item == 0) {
        return std::wstring();
    }
    TVITEMW request{};
    request.mask = TVIF_TEXT;
    request.hItem = reinterpret_cast<HTREEITEM>(item);
    request.pszText = reinterpret_cast<wchar_t*>(buffer + sizeof request);
    request.cchTextMax = MAX_PATH;
    ::WriteProcessMemory(process, buffer, &request, sizeof request, nullptr);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 10000, &ignored);
    wchar_t text[MAX_PATH + 1] = {};
    ::ReadProcessMemory(process, request.pszText, text, MAX_PATH * sizeof(wchar_t), nullptr);
    return text;
}

// Selects `folder` (whose tree item reads `name`) in the shell's folder
// browser of another process and presses its OK. The path lies in that
// process's memory. A browser that has just opened may not take the
// selection yet, so it is given again until it shows.
void chooseInFolderBrowser(HWND browser, const std::wstring& folder, const std::wstring& name)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(browser, &processId);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, processId);
    ASSERT_NE(process, nullptr);
    const SIZE_T pathBytes = (folder.size() + 1) * sizeof(wchar_t);
    auto* remote = static_cast<char*>(::VirtualAllocEx(process, nullptr, pathBytes + sizeof(TVITEMW) + 2 * MAX_PATH,
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ::WriteProcessMemory(process, remote, folder.c_str(), pathBytes, nullptr);
    HWND tree = ::FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    std::wstring selected;
    const bool taken = waitFor(
        [&] {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL,
                                  10000, &ignored);
            selected = selectedItemText(process, tree, remote + pathBytes);
            return selected == name;
        },
        30000);
    EXPECT_TRUE(taken) << "the folder browser shows " << utf8(selected);
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
        // The folder browser matches the folders of a path by their dates,
        // so the runtime lies where no parallel test adds folders.
        const std::wstring home = L"C:\\BrowsedJre";
        removeTree(home);
        const std::wstring jvm = installTestRuntime(AppScenario::runtimeBuildFolder(), TestRuntimeVariant::Standard,
                                                    home, TestRuntimeScenario{}, L"server");
        const std::wstring jvmFolder = jvm.substr(0, jvm.rfind(L'\\'));

        HWND notFound = nullptr;
        const RunResult first = app.run(std::wstring(), 90000, [&](const DialogInfo& dialog) {
            if (notFound == nullptr) {
                notFound = dialog.window;
                return IDC_RUNTIME_BROWSE;
            }
            chooseInFolderBrowser(dialog.window, home, L"BrowsedJre");
            const bool usable = waitFor([&] { return okEnabled(notFound); }, 5000);
            ::PostMessageW(notFound, WM_COMMAND, usable ? IDOK : IDCANCEL, 0);
            return 0;
        });
        ASSERT_FALSE(first.timedOut);
        EXPECT_EQ(first.exitCode, 0u);
        const std::string written = app.readBytes(row.writtenFile);
        EXPECT_NE(written.find(utf8(L"\r\nJRE Path=" + home + L"\\\r\n")), std::string::npos) << written;

        const RunResult second = app.run();
        EXPECT_FALSE(second.timedOut);
        EXPECT_EQ(second.exitCode, 0u);
        EXPECT_TRUE(second.dialogs.empty());
        EXPECT_EQ(readTestRuntimeLog(jvmFolder).values("create.end").size(), 2u);
        removeTree(home);
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
