// The dialog that shows an exception escaping main: its texts, the trace,
// the answers and their exit codes, and resizing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/AppScenario.h"
#include "support/ExceptionDialogWindow.h"

namespace {

const wchar_t kDialogTitle[] = L"Java Exception";

std::wstring iniWithFailureCheck(const std::wstring& failureCheck)
{
    return L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n"
           L"[Application]\nFailure Check=" + failureCheck + L"\n";
}

// An application whose main throws `message`; returns the jvm.dll folder.
std::wstring layOutThrower(const AppScenario& app, const std::string& message,
                           const std::wstring& failureCheck = L"Yes")
{
    app.writeBytes(L"app.jar", "jar");
    app.writeIni(iniWithFailureCheck(failureCheck));
    TestRuntimeScenario runtime;
    runtime.printArguments = false;
    runtime.throwMessage = message;
    return app.installRuntime(L"", runtime);
}

const DialogInfo* exceptionDialog(const RunResult& result)
{
    for (const DialogInfo& dialog : result.dialogs) {
        if (dialog.title == kDialogTitle) {
            return &dialog;
        }
    }
    return nullptr;
}

RECT screenRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

TEST(ExceptionDialog, ShowsTheTraceAndTheExactTexts)
{
    AppScenario app;
    const std::wstring jvmFolder = layOutThrower(app, u8"\u00dcberlauf \u2603 \U0001F600 texts");
    std::wstring traceText;
    const RunResult result = app.run(L"", 30000, [&](const DialogInfo& dialog) {
        if (HWND window = dialog.title == kDialogTitle ? findExceptionDialog(L"texts") : nullptr) {
            traceText = controlText(::GetDlgItem(window, IDC_EXCEPTION_TRACE));
        }
        return IDC_EXCEPTION_IGNORE;
    });
    ASSERT_FALSE(result.timedOut);
    const DialogInfo* dialog = exceptionDialog(result);
    ASSERT_NE(dialog, nullptr) << "no exception dialog among " << result.dialogs.size() << " windows";
    ASSERT_EQ(result.dialogs.size(), 1u);

    const DialogInfo::Control* trace = dialog->control(IDC_EXCEPTION_TRACE);
    ASSERT_NE(trace, nullptr);
    EXPECT_EQ(trace->className, L"Edit");
    EXPECT_EQ(utf8(traceText), u8"java.lang.IllegalStateException: \u00dcberlauf \u2603 \U0001F600 texts\r\n"
                                 "\tat app.Main.run(Main.java:12)\r\n\tat app.Main.main(Main.java:5)\r\n");

    struct Row {
        int id;
        const wchar_t* className;
        std::wstring text;
    };
    const std::vector<Row> rows = {
        {IDC_EXCEPTION_IGNORE, L"Button", L"Ignore"},
        {IDC_EXCEPTION_STOP, L"Button", L"Stop"},
        {IDC_EXCEPTION_GROUP, L"Button", L"Uncaught Exception"},
        // The icon's text names the system error icon by its ordinal, 32513.
        {IDC_EXCEPTION_ICON, L"Static", std::wstring{wchar_t(0xFFFF), wchar_t(32513)}},
        {IDC_EXCEPTION_INTRO, L"Static", L"The java process has thrown the following uncaught exception:"},
        {IDC_EXCEPTION_INSTRUCTION, L"Static",
         L"Press Ignore to continue and ignore the exception or press Stop to close the application."},
        {IDC_EXCEPTION_WARNING, L"Static",
         L"WARNING: If you choose to Stop the application any unsaved data will be lost."},
        {IDC_EXCEPTION_SIZE_GRIP, L"ScrollBar", L""},
    };
    for (const Row& row : rows) {
        const DialogInfo::Control* control = dialog->control(row.id);
        ASSERT_NE(control, nullptr) << "no control " << row.id;
        EXPECT_EQ(control->className, row.className) << "control " << row.id;
        EXPECT_EQ(control->text, row.text) << "control " << row.id;
    }
    EXPECT_EQ(readTestRuntimeLog(jvmFolder).values("error"), std::vector<std::string>{});
}

TEST(ExceptionDialog, AnswersGiveTheirExitCodes)
{
    struct Row {
        const char* name;
        std::wstring failureCheck;
        // What the driver does with the dialog.
        std::function<int(HWND)> answer;
        bool dialogExpected;
        DWORD exitCode;
    };
    const std::vector<Row> rows = {
        {"Ignore", L"Yes", [](HWND) { return IDC_EXCEPTION_IGNORE; }, true, 0},
        {"Stop", L"Yes", [](HWND) { return IDC_EXCEPTION_STOP; }, true, 0xFFFFFFFF},
        {"Escape", L"yes",
         [](HWND window) {
             ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
             return 0;
         },
         true, 0xFFFFFFFF},
        {"Enter presses the default button, Ignore", L"Yes",
         [](HWND window) {
             ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
             return 0;
         },
         true, 0},
        {"close box", L"YES",
         [](HWND window) {
             ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
             return 0;
         },
         true, 0xFFFFFFFF},
        // No dialog decides: the exception makes the exit code 1.
        {"Failure Check off", L"No", [](HWND) { return IDC_EXCEPTION_STOP; }, false, 1},
        {"Failure Check empty", L"", [](HWND) { return IDC_EXCEPTION_STOP; }, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        const std::string marker = std::string("answer ") + row.name;
        const std::wstring jvmFolder = layOutThrower(app, marker, row.failureCheck);
        const std::wstring wideMarker(marker.begin(), marker.end());
        bool windowFound = false;
        const RunResult result = app.run(L"", 30000, [&](const DialogInfo& dialog) {
            if (dialog.title != kDialogTitle) {
                return 0;
            }
            HWND window = findExceptionDialog(wideMarker);
            windowFound = window != nullptr;
            return window != nullptr ? row.answer(window) : 0;
        });
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(exceptionDialog(result) != nullptr, row.dialogExpected);
        EXPECT_EQ(windowFound, row.dialogExpected);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        if (row.exitCode == 0xFFFFFFFF) {
            EXPECT_EQ(log.value("system.exit"), "-1");
        } else {
            EXPECT_FALSE(log.has("system.exit"));
            EXPECT_TRUE(log.has("detach"));
        }
        EXPECT_EQ(log.values("error"), std::vector<std::string>{});
    }
}

TEST(ExceptionDialog, ResizingKeepsButtonsBottomRightAndGrowsTheTrace)
{
    AppScenario app;
    layOutThrower(app, "resize marker");
    struct Measured {
        RECT dialog, ignore, stop, trace, grip;
    };
    auto measure = [](HWND window) {
        return Measured{screenRect(window), screenRect(::GetDlgItem(window, IDC_EXCEPTION_IGNORE)),
                        screenRect(::GetDlgItem(window, IDC_EXCEPTION_STOP)),
                        screenRect(::GetDlgItem(window, IDC_EXCEPTION_TRACE)),
                        screenRect(::GetDlgItem(window, IDC_EXCEPTION_SIZE_GRIP))};
    };
    bool measured = false;
    bool gripShownMaximised = true;
    bool gripShownRestored = false;
    Measured before{}, grown{}, shrunk{};
    const RunResult result = app.run(L"", 30000, [&](const DialogInfo& dialog) {
        HWND window = dialog.title == kDialogTitle ? findExceptionDialog(L"resize marker") : nullptr;
        if (window == nullptr) {
            return 0;
        }
        before = measure(window);
        const int width = before.dialog.right - before.dialog.left;
        const int height = before.dialog.bottom - before.dialog.top;
        ::SetWindowPos(window, nullptr, 0, 0, width + 120, height + 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        grown = measure(window);
        ::SetWindowPos(window, nullptr, 0, 0, width / 2, height / 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        shrunk = measure(window);
        HWND grip = ::GetDlgItem(window, IDC_EXCEPTION_SIZE_GRIP);
        ::ShowWindow(window, SW_MAXIMIZE);
        gripShownMaximised = ::IsWindowVisible(grip) != FALSE;
        ::ShowWindow(window, SW_RESTORE);
        gripShownRestored = ::IsWindowVisible(grip) != FALSE;
        measured = true;
        return IDC_EXCEPTION_IGNORE;
    });
    ASSERT_FALSE(result.timedOut);
    ASSERT_TRUE(measured);
    EXPECT_EQ(result.exitCode, 0u);

    auto size = [](const RECT& rect) { return std::make_pair(rect.right - rect.left, rect.bottom - rect.top); };
    auto fromBottomRight = [](const RECT& control, const RECT& dialog) {
        return std::make_pair(dialog.right - control.left, dialog.bottom - control.top);
    };
    EXPECT_EQ(size(grown.dialog), std::make_pair(size(before.dialog).first + 120, size(before.dialog).second + 80));
    // Buttons and grip keep their size and their distance to the bottom-right corner.
    for (auto control : {&Measured::ignore, &Measured::stop, &Measured::grip}) {
        EXPECT_EQ(size(grown.*control), size(before.*control));
        EXPECT_EQ(fromBottomRight(grown.*control, grown.dialog), fromBottomRight(before.*control, before.dialog));
    }
    // The trace box stays at its place and takes the whole growth.
    EXPECT_EQ(grown.trace.left - grown.dialog.left, before.trace.left - before.dialog.left);
    EXPECT_EQ(grown.trace.top - grown.dialog.top, before.trace.top - before.dialog.top);
    EXPECT_EQ(size(grown.trace), std::make_pair(size(before.trace).first + 120, size(before.trace).second + 80));
    // Smaller than the initial size is refused: the dialog and its controls
    // come back to their initial sizes.
    EXPECT_EQ(size(shrunk.dialog), size(before.dialog));
    EXPECT_EQ(size(shrunk.trace), size(before.trace));
    EXPECT_EQ(fromBottomRight(shrunk.stop, shrunk.dialog), fromBottomRight(before.stop, before.dialog));
    // The size grip is hidden while the dialog is maximised.
    EXPECT_FALSE(gripShownMaximised);
    EXPECT_TRUE(gripShownRestored);
}

} // namespace
