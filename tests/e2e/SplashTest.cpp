// The splash screen of whole starts: the launcher's own window and the
// runtime's native splash library.
#include <gtest/gtest.h>

#include <optional>

#include "support/AppScenario.h"
#include "support/SplashSupport.h"
#include "util/ScopeExit.h"

namespace {

// What the driver saw of the splash window in one run, turn by turn.
struct SplashSighting {
    bool seen = false;
    bool visibleDuringMain = false;
    bool goneAfterMain = false;  // while the process still ran
    RECT rect{};
    bool shadow = false;
};

const std::wstring kIni = L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n";

struct Row {
    const char* name;
    std::wstring display;  // lines of section [Display]
    std::wstring arguments;
    std::optional<TestSplashVariant> nativeLibrary;
    int createResult;
    int windowWidth;  // -1: no window
    int windowHeight;
    bool shadow;
    std::string events;  // splash calls, VM creation and destruction, in order
};

TEST(SplashScreen, WindowOrNativeLibraryFromStartToEnd)
{
    AppScenario app;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    app.writeBytes(L"app.jar", "jar");
    app.writeBytes(L"splash.png", pngImage(120, 80));
    app.writeBytes(L"wide.png", pngImage(static_cast<std::uint32_t>(screenWidth) + 201, 60));
    // A library beside the executable under GDI+'s name, which logs its
    // loading. Wine prefers its own GDI+ unless told otherwise for this name.
    app.installLauncher(L"Splash.exe");
    ::CopyFileW(testSplashLibrary(AppScenario::runtimeBuildFolder(), TestSplashVariant::Standard).c_str(),
                app.path(L"gdiplus.dll").c_str(), FALSE);
    const wchar_t* overrides = L"Software\\Wine\\AppDefaults\\Splash.exe\\DllOverrides";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, overrides, L"gdiplus", REG_SZ, L"native,builtin", 30);
    ScopeExit removeOverrides([] { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Splash.exe"); });
    TestRuntimeScenario runtime;
    runtime.printArguments = false;
    runtime.sleepMillis = 700;
    runtime.threadMillis = 1500;
    const std::wstring jvmFolder = app.installRuntime(L"jre64", runtime);
    const std::wstring png = L"Splash Screen=splash.png\n";
    const std::wstring preferNative = png + L"Preffer Native Splash Screen=Yes\n";
    const std::string native = "splash.dll splash.init splash.loadfile splash.setfilejarname splash.jarname ";
    const Row rows[] = {
        {"drawn, with shadow", png + L"Splash Screen Shadow=true\n", L"-NOSPLASH", {}, 0, 120, 80, true,
         "create.result destroy.done"},
        {"shadow only for exact true", png + L"Splash Screen Shadow=True\n", L"x/nosplash", {}, 0, 120, 80, false,
         "create.result destroy.done"},
        {"-nosplash", preferNative, L"a -nosplash", TestSplashVariant::Standard, 0, -1, 0, false, "create.result destroy.done"},
        {"/nosplash", png, L"/nosplash", {}, 0, -1, 0, false, "create.result destroy.done"},
        {"larger than the screen", L"Splash Screen=wide.png\n", L"", {}, 0, screenWidth + 201, 60, false,
         "create.result destroy.done"},
        {"missing image", L"Splash Screen=absent.png\n", L"", {}, 0, 0, 0, false, "create.result destroy.done"},
        {"native", png + L"Preffer Native Splash Screen=YES\n", L"", TestSplashVariant::Standard, 0, -1, 0, false,
         native + "create.result destroy.done splash.close"},
        {"native, VM creation fails", preferNative, L"", TestSplashVariant::Standard, -1, -1, 0, false,
         native + "create.result splash.close"},
        {"native without SplashClose", preferNative, L"", TestSplashVariant::NoClose, 0, -1, 0, false,
         native + "create.result destroy.done"},
        {"native library incomplete", preferNative, L"", TestSplashVariant::NoLoadFile, 0, 120, 80, false,
         "splash.dll create.result destroy.done splash.close"},
        {"native library missing", preferNative, L"", {}, 0, 120, 80, false, "create.result destroy.done"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        app.writeText(L"Splash.ini", kIni + L"[Display]\n" + row.display);
        ::DeleteFileW((jvmFolder + L"\\..\\splashscreen.dll").c_str());
        if (row.nativeLibrary) {
            installTestSplash(AppScenario::runtimeBuildFolder(), *row.nativeLibrary, app.path(L"jre64"));
        }
        runtime.createResult = row.createResult;
        writeTestRuntimeScenario(jvmFolder, runtime);
        SplashSighting sighting;
        const RunResult result =
            app.run(row.arguments, 30000, pressDefaultButton, L"Splash.exe", [&](HANDLE, DWORD processId) {
                const HWND window = splashWindowOf(processId);
                const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
                const bool mainRuns = log.has("main.thread") && !log.has("detach");
                const bool visible = window != nullptr && ::IsWindowVisible(window);
                if (window != nullptr) {
                    sighting.seen = true;
                    ::GetWindowRect(window, &sighting.rect);
                    sighting.shadow = (::GetClassLongPtrW(window, GCL_STYLE) & CS_DROPSHADOW) != 0;
                }
                sighting.visibleDuringMain |= visible && mainRuns;
                // Hidden at once; under Wine without a window manager its
                // destruction then waits for the manager for two seconds.
                sighting.goneAfterMain |= sighting.seen && !visible && log.has("detach");
            });
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, row.createResult == 0 ? 0u : 0xFFFFFFFFu);
        EXPECT_EQ(result.dialogs.size(), row.createResult == 0 ? 0u : 1u);
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
            EXPECT_EQ(log.value("splash.loadfile"), "splash.png");
            EXPECT_EQ(log.value("splash.jarname"), "");
        }
        EXPECT_FALSE(app.exists(L"testruntime.log")) << "the gdiplus.dll beside the executable was loaded";
        EXPECT_EQ(mainArguments(log).empty() ? "" : mainArguments(log).back(),
                  utf8(row.arguments.substr(row.arguments.rfind(L' ') + 1)));
        EXPECT_EQ(sighting.seen, row.windowWidth >= 0);
        if (row.windowWidth > 0 && row.createResult == 0) {
            EXPECT_TRUE(sighting.visibleDuringMain);
            EXPECT_TRUE(sighting.goneAfterMain);
        }
        if (sighting.seen) {
            EXPECT_EQ(sighting.rect.right - sighting.rect.left, row.windowWidth);
            EXPECT_EQ(sighting.rect.bottom - sighting.rect.top, row.windowHeight);
            EXPECT_EQ(sighting.rect.left, (screenWidth - row.windowWidth) / 2);
            EXPECT_EQ(sighting.rect.top, (screenHeight - row.windowHeight) / 2);
            EXPECT_EQ(sighting.shadow, row.shadow);
        }
    }
}

TEST(SplashScreen, OwnsTheErrorBoxesAndClosesBeforeTheExceptionDialog)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    app.writeBytes(L"splash.png", pngImage(40, 30));
    TestRuntimeScenario runtime;
    runtime.createDelayMillis = 700;
    runtime.createResult = -1;
    const std::wstring jvmFolder = app.installRuntime(L"", runtime);
    app.writeIni(kIni + L"[Application]\nFailure Check=Yes\n[Display]\nSplash Screen=splash.png\n");
    RunResult result = app.run();
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].ownerClassName, L"SplashScreenWindow");
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);

    runtime.createDelayMillis = 0;
    runtime.createResult = 0;
    runtime.sleepMillis = 700;
    runtime.throwMessage = "thrown from main";
    writeTestRuntimeScenario(jvmFolder, runtime);
    DWORD processId = 0;
    bool splashSeen = false;
    bool splashAtTheDialog = true;
    result = app.run(
        L"", 30000,
        [&](const DialogInfo& dialog) {
            splashAtTheDialog = splashWindowOf(processId) != nullptr;
            return pressDefaultButton(dialog);
        },
        L"App.exe",
        [&](HANDLE, DWORD id) {
            processId = id;
            splashSeen |= splashWindowOf(id) != nullptr;
        });
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_TRUE(splashSeen);
    EXPECT_FALSE(splashAtTheDialog);
}

} // namespace
