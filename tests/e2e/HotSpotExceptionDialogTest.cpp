// The uncaught-exception dialog on a real Java VM: the trace that HotSpot's
// printStackTrace writes, decoded from its modified UTF-8, and the answers'
// exit codes through the real System.exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ExceptionDialogWindow.h"
#include "support/HotSpotScenario.h"

namespace {

class HotSpotExceptionDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string reason = HotSpotScenario::unavailableReason();
        if (!reason.empty()) {
            GTEST_SKIP() << "HotSpot scenario skipped: " << reason;
        }
    }
};

TEST_F(HotSpotExceptionDialog, ShowsTheRealTraceAndEndsAsAnswered)
{
    struct Row {
        const char* name;
        int button;
        DWORD exitCode;
    };
    const Row rows[] = {
        {"Stop", IDC_EXCEPTION_STOP, 0xFFFFFFFF},
        {"Ignore", IDC_EXCEPTION_IGNORE, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HotSpotScenario app;
        app.installJars(L"lib");
        app.installRuntime(L"jre64");
        app.writeIni(L"[Java Runtime Environment]\nMain Class=scenario.app.Thrower\n"
                     L"[Class Path]\nClass Path=\\lib\\*.jar\n[Application]\nFailure Check=Yes\n");
        const std::string marker = std::string("hotspot-") + row.name;
        const std::wstring wideMarker(marker.begin(), marker.end());
        std::wstring trace;
        const RunResult result = app.run(wideMarker, 40000, [&](const DialogInfo& dialog) {
            HWND window = dialog.title == L"Java Exception" ? findExceptionDialog(wideMarker) : nullptr;
            if (window == nullptr) {
                return 0;
            }
            trace = controlText(::GetDlgItem(window, IDC_EXCEPTION_TRACE));
            return row.button;
        });
        ASSERT_FALSE(result.timedOut) << result.dialogs.size() << " dialogs; stderr:\n" << result.standardError;
        EXPECT_EQ(result.exitCode, row.exitCode) << result.standardError;
        const std::wstring firstLine =
            L"java.lang.IllegalStateException: \u00dcberlauf \u2603 \U0001F600 " + wideMarker + L"\r\n";
        EXPECT_EQ(utf8(trace.substr(0, firstLine.size())), utf8(firstLine));
        for (const wchar_t* expected : {L"\r\n\tat scenario.app.Thrower.main(Thrower.java:",
                                        L"\r\nCaused by: java.lang.IllegalArgumentException: inner\r\n",
                                        L"\r\n\tat scenario.app.Thrower.fail(Thrower.java:"}) {
            EXPECT_NE(trace.find(expected), std::wstring::npos) << utf8(expected) << " missing in\n" << utf8(trace);
        }
        // Every line break reaches the trace box as CR LF.
        for (std::size_t at = trace.find(L'\n'); at != std::wstring::npos; at = trace.find(L'\n', at + 1)) {
            ASSERT_TRUE(at > 0 && trace[at - 1] == L'\r') << "bare line feed at " << at;
        }
    }
}

} // namespace
