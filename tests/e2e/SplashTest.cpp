// The splash screen of whole starts: the launcher's own window and the
// runtime's native splash library.
#include <gtest/gtest.h>

#include <optional>

#include "support/AppScenario.h"
#include "support/SplashSupport.h"
#include "util/ScopeExit.h"

namespace {

const std::wstring kIni = L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n"
                          L"[Application]\nFailure Check=Yes\n";

struct Row {
    const char* name;
    std::wstring display;  // lines of section [Display]
    std::wstring arguments;
    std::optional<TestSplashVariant> nativeLibrary;
    int createResult;
    bool mainThrows;  // the exception dialog shows; Cancel stops the application
    int width;  // of the launcher's window; -1: no window
    int height;
    bool shadow;
    std::string events;  // splash calls, VM creation and destruction, in order
};

TEST(SplashScreen, WindowOrNativeLibraryFromStartToEnd)
{
    AppScenario app;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    app.writeBytes(L"app.jar", "jar");
    ::CopyFileW(splashImagePath(L"splash.png").c_str(), app.path(L"splash.png").c_str(), FALSE);
    ::CopyFileW(splashImagePath(L"wide.png").c_str(), app.path(L"wide.png").c_str(), FALSE);
    // A library under GDI+'s name beside the executable, which logs its
    // loading. Wine prefers its own GDI+ unless told otherwise for this
    // program.
    app.installLauncher(L"Splash.exe");
    ::CopyFileW(testSplashLibrary(AppScenario::runtimeBuildFolder(), TestSplashVariant::Standard).c_str(),
                app.path(L"gdiplus.dll").c_str(), FALSE);
    const wchar_t* appDefaults = L"Software\\Wine\\AppDefaults\\Splash.exe";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, (appDefaults + std::wstring(L"\\DllOverrides")).c_str(), L"gdiplus", REG_SZ,
                      L"native,builtin", 30);
    // Without a window manager, Wine waits two seconds for one to release
    // each window it treats as managed.
    ::RegSetKeyValueW(HKEY_CURRENT_USER, (appDefaults + std::wstring(L"\\X11 Driver")).c_str(), L"Managed", REG_SZ,
                      L"N", 4);
    ScopeExit removeOverride([appDefaults] { ::RegDeleteTreeW(HKEY_CURRENT_USER, appDefaults); });
    TestRuntimeScenario runtime;
    runtime.printArguments = false;
    runtime.createDelayMillis = 500;  // time for the window to show before a box
    runtime.sleepMillis = 700;
    runtime.threadMillis = 1500;      // keeps the process after main
    const std::wstring jvmFolder = app.installRuntime(L"jre64", runtime);
    const std::wstring png = L"Splash Screen=splash.png\n";
    const std::wstring preferNative = png + L"Preffer Native Splash Screen=Yes\n";
    const std::string native = "splash.dll splash.init splash.loadfile splash.setfilejarname splash.jarname ";
    const std::string plain = "create.result destroy.done";
    const Row rows[] = {
        {"drawn, with shadow", png + L"Splash Screen Shadow=true\n", L"-NOSPLASH", {}, 0, false, 120, 80, true, plain},
        {"shadow only for exact true", png + L"Splash Screen Shadow=True\n", L"x/nosplash", {}, 0, false, 120, 80,
         false, plain},
        {"drawn, VM creation fails", png, L"", {}, -1, false, 120, 80, false, "create.result"},
        {"-nosplash", preferNative, L"a -nosplash", TestSplashVariant::Standard, 0, false, -1, 0, false, plain},
        {"/nosplash", png, L"/nosplash", {}, 0, false, -1, 0, false, plain},
        {"larger than the screen", L"Splash Screen=" + app.path(L"wide.png"), L"", {}, 0, false, 3000, 60, false,
         plain},
        {"main throws", png, L"", {}, 0, true, 120, 80, false, "create.result"},
        {"missing image", L"Splash Screen=absent.png\n", L"", {}, 0, false, 0, 0, false, plain},
        {"native", png + L"Preffer Native Splash Screen=YES\n", L"", TestSplashVariant::Standard, 0, false, -1, 0,
         false, native + plain + " splash.close"},
        {"native, VM creation fails", preferNative, L"", TestSplashVariant::Standard, -1, false, -1, 0, false,
         native + "create.result splash.close"},
        {"native without SplashClose", preferNative, L"", TestSplashVariant::NoClose, 0, false, -1, 0, false,
         native + plain},
        {"native library incomplete", preferNative, L"", TestSplashVariant::NoLoadFile, 0, false, 120, 80, false,
         "splash.dll " + plain + " splash.close"},
        {"native library missing", preferNative, L"", {}, 0, false, 120, 80, false, plain},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        app.writeText(L"Splash.ini", kIni + L"[Display]\n" + row.display);
        ::DeleteFileW((jvmFolder + L"\\..\\splashscreen.dll").c_str());
        if (row.nativeLibrary) {
            installTestSplash(AppScenario::runtimeBuildFolder(), *row.nativeLibrary, app.path(L"jre64"));
        }
        runtime.createResult = row.createResult;
        runtime.throwMessage = row.mainThrows ? std::optional<std::string>("thrown") : std::nullopt;
        writeTestRuntimeScenario(jvmFolder, runtime);
        bool seen = false, visibleInMain = false, goneAfterMain = false, shadow = false;
        std::vector<bool> splashAtBox;
        DWORD process = 0;
        RECT rect{};
        const auto handler = [&](const DialogInfo& box) {
            splashAtBox.push_back(splashWindowOf(process) != nullptr);
            return pressDefaultButton(box);
        };
        const RunResult result =
            app.run(row.arguments, 30000, handler, L"Splash.exe", [&](HANDLE, DWORD processId) {
                process = processId;
                const HWND window = splashWindowOf(processId);
                const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
                const bool visible = window != nullptr && ::IsWindowVisible(window);
                if (window != nullptr) {
                    seen = true;
                    // A window closing meanwhile answers nothing; keep what it said before.
                    RECT now{};
                    if (::GetWindowRect(window, &now)) {
                        rect = now;
                    }
                    if (const ULONG_PTR style = ::GetClassLongPtrW(window, GCL_STYLE)) {
                        shadow = (style & CS_DROPSHADOW) != 0;
                    }
                }
                visibleInMain |= visible && log.has("main.thread") && !log.has("detach");
                goneAfterMain |= seen && !visible && log.has("detach");
            });
        ASSERT_FALSE(result.timedOut);
        const bool fails = row.createResult != 0 || row.mainThrows;
        EXPECT_EQ(result.exitCode, fails ? 0xFFFFFFFFu : 0u);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        std::string events;
        for (const auto& [key, value] : log.entries) {
            if ((key.rfind("splash.", 0) == 0 && key != "splash.elapsed") || key == "create.result"
                || key == "destroy.done") {
                events += (events.empty() ? "" : " ") + key;
            }
        }
        EXPECT_EQ(events, row.events);
        if (row.events.find("splash.loadfile") != std::string::npos) {
            EXPECT_EQ(log.value("splash.loadfile") + "|" + log.value("splash.setfilejarname") + "|" +
                          log.value("splash.jarname"),
                      "splash.png|splash.png|");
        }
        EXPECT_FALSE(app.exists(L"testruntime.log")) << "the gdiplus.dll beside the executable was loaded";
        if (row.createResult == 0) {
            EXPECT_EQ(mainArguments(log).empty() ? "" : mainArguments(log).back(),
                      utf8(row.arguments.substr(row.arguments.rfind(L' ') + 1)));
        }
        // The box of a failed VM creation belongs to the splash window; the
        // exception dialog comes after the splash has closed.
        ASSERT_EQ(result.dialogs.size(), fails ? 1u : 0u);
        if (fails) {
            const bool owned = row.width > 0 && !row.mainThrows;
            EXPECT_EQ(result.dialogs[0].ownerClassName, owned ? L"SplashScreenWindow" : L"");
            EXPECT_EQ(splashAtBox.at(0), owned);
        }
        EXPECT_EQ(seen, row.width >= 0);
        EXPECT_EQ(visibleInMain, row.width >= 0 && row.createResult == 0);
        EXPECT_EQ(goneAfterMain, row.width >= 0 && !fails);
        if (seen) {
            EXPECT_EQ(rect.right - rect.left, row.width);
            EXPECT_EQ(rect.bottom - rect.top, row.height);
            EXPECT_EQ(rect.left, (screenWidth - row.width) / 2);
            EXPECT_EQ(rect.top, (screenHeight - row.height) / 2);
            EXPECT_EQ(shadow, row.shadow);
        }
    }
}

} // namespace
