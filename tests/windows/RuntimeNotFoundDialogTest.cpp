// The runtime-not-found dialog's handling of a chosen folder, and its link:
// the link rectangle and the user's link colours.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/HyperlinkControl_win.h"
#include "ui/RuntimeNotFoundDialogIds.h"
#include "ui/RuntimeNotFoundDialog_win.h"

namespace {

std::wstring controlText(HWND dialog, int id)
{
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

// What runs inside the dialog's modal loop, from a thread timer.
std::function<void()> stepsInsideDialog;

void CALLBACK runStepsInsideDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    stepsInsideDialog();
}

TEST(RuntimeNotFoundDialog, AcceptsOnlyAFolderThatHoldsALibrary)
{
    std::vector<std::wstring> probed;
    RuntimeNotFoundDialog dialog(L"No runtime (latest version) from:", L"", [&probed](const std::wstring& folder) {
        probed.push_back(folder);
        const bool usable = folder == L"C:\\jdk-17\\" || folder == L"D:\\";
        return usable ? folder + L"bin\\server\\jvm.dll" : std::wstring();
    });
    struct Row {
        const wchar_t* chosen;
        const wchar_t* folder;
        bool usable;
    };
    const Row rows[] = {
        {L"C:\\jdk-17", L"C:\\jdk-17\\", true},
        {L"C:\\jdk-8", L"C:\\jdk-8\\", false},  // usable, then unusable: OK goes off again
        {L"D:\\", L"D:\\", true},                // a drive root keeps its single backslash
        {L"C:\\empty\\", L"C:\\empty\\", false},
    };
    stepsInsideDialog = [&] {
        HWND window = dialog.window();
        EXPECT_EQ(controlText(window, IDC_RUNTIME_MESSAGE), L"No runtime (latest version) from:");
        EXPECT_EQ(controlText(window, IDC_RUNTIME_LINK), L"" RUNTIME_DOWNLOAD_PAGE);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_RUNTIME_OK)));
        for (const Row& row : rows) {
            dialog.chooseFolder(row.chosen);
            const std::string name(row.chosen, row.chosen + wcslen(row.chosen));
            EXPECT_EQ(controlText(window, IDC_RUNTIME_FOLDER), row.chosen) << name;
            EXPECT_EQ(dialog.chosenFolder(), row.folder) << name;
            EXPECT_EQ(dialog.jvmLibraryPath().empty(), !row.usable) << name;
            EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(window, IDC_RUNTIME_OK)) != FALSE, row.usable) << name;
        }
        // An OK command while no usable folder is chosen does not end the
        // dialog; Cancel does.
        ::SendMessageW(window, WM_COMMAND, IDC_RUNTIME_OK, 0);
        ::PostMessageW(window, WM_COMMAND, IDC_RUNTIME_CANCEL, 0);
    };
    ASSERT_NE(::SetTimer(nullptr, 0, 10, runStepsInsideDialog), 0u);
    EXPECT_EQ(dialog.show(nullptr), IDCANCEL);
    EXPECT_EQ(probed, (std::vector<std::wstring>{L"C:\\jdk-17\\", L"C:\\jdk-8\\", L"D:\\", L"C:\\empty\\"}));
}

TEST(Hyperlink, LinkRectangleFollowsTheStaticsAlignment)
{
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    constexpr int kWidth = 300;
    struct Row {
        const char* name;
        DWORD style;
    };
    for (const Row& row : {Row{"left", SS_LEFT}, Row{"centred", SS_CENTER}, Row{"right", SS_RIGHT}}) {
        HyperlinkControl link;
        HWND control = ::CreateWindowExW(0, L"STATIC", L"https://example.org/", WS_CHILD | WS_VISIBLE | row.style, 0,
                                         0, kWidth, 20, parent, nullptr, nullptr, nullptr);
        ASSERT_NE(control, nullptr);
        link.attach(control);
        const RECT rect = link.linkRect();
        const int width = rect.right - rect.left;
        EXPECT_GT(width, 20) << row.name;
        EXPECT_LT(width, kWidth) << row.name;
        const int expectedLeft = row.style == SS_LEFT ? 0 : row.style == SS_CENTER ? (kWidth - width) / 2 : kWidth - width;
        EXPECT_EQ(rect.left, expectedLeft) << row.name;
        EXPECT_EQ(rect.top, 0) << row.name;
        EXPECT_NE(::GetWindowLongPtrW(control, GWL_STYLE) & SS_NOTIFY, 0) << row.name;
        ::DestroyWindow(control);
    }
    ::DestroyWindow(parent);
}

TEST(Hyperlink, UserLinkColoursReplaceTheDefaultsOnlyWhenValid)
{
    const wchar_t* const keyPath = L"Software\\Microsoft\\Internet Explorer\\Settings";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring red = L"255,0,0";
    const std::wstring tooLong = L"1,2,3,4,5,6,7";  // 28 bytes
    ::RegSetValueExW(key, L"Anchor Color", 0, REG_SZ, reinterpret_cast<const BYTE*>(red.c_str()), 16);
    ::RegSetValueExW(key, L"Anchor Color Visited", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()), 28);

    HWND control = ::CreateWindowExW(0, L"STATIC", L"link", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    HyperlinkControl link;
    link.setColours(RGB(0, 0, 255), RGB(128, 0, 128));
    link.attach(control);
    EXPECT_EQ(link.linkColour(), RGB(255, 0, 0));
    EXPECT_EQ(link.visitedColour(), RGB(128, 0, 128));
    ::DestroyWindow(control);

    ::RegDeleteValueW(key, L"Anchor Color");
    ::RegDeleteValueW(key, L"Anchor Color Visited");
    ::RegCloseKey(key);
}

} // namespace
