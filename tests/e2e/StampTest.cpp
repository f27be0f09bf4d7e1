// launcher-stamp.exe under Wine, and what Windows makes of the stamped copy:
// it starts from its embedded settings alone, and the version and icon APIs
// read the new values.
#include <windows.h>

#include <gtest/gtest.h>
#include <imagehlp.h>
#include <shellapi.h>

#include <algorithm>

#include "support/AppScenario.h"

namespace {

std::wstring sourcePath(const std::wstring& relative)
{
    // A wide literal: the checkout's path may hold characters outside ASCII.
    std::wstring path = L"" E2E_SOURCE_ROOT;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path + L"\\" + relative;
}

RunResult runStamp(const Scenario& scenario, const std::wstring& arguments)
{
    const std::wstring tool = buildPath(L"launcher-stamp.exe");
    return runProcess(tool, L"\"" + tool + L"\" " + arguments, scenario.folder(), 30000, pressDefaultButton, true);
}

std::wstring versionString(const std::vector<BYTE>& block, const std::wstring& name)
{
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring key = L"\\StringFileInfo\\040904b0\\" + name;
    if (!::VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr) {
        return L"<missing>";
    }
    return text;
}

// The colour at the centre of an icon and its width.
std::pair<COLORREF, LONG> iconCentre(HICON icon)
{
    ICONINFO info{};
    BITMAP bitmap{};
    if (icon == nullptr || !::GetIconInfo(icon, &info) || !::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) {
        return {0, 0};
    }
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    const DWORD centre = pixels[static_cast<std::size_t>(bitmap.bmHeight / 2) * bitmap.bmWidth + bitmap.bmWidth / 2];
    return {RGB((centre >> 16) & 0xFF, (centre >> 8) & 0xFF, centre & 0xFF), bitmap.bmWidth};
}

TEST(Stamp, StampedCopyStartsFromItsEmbeddedSettingsAndShowsItsVersionAndIcon)
{
    Scenario scenario;
    scenario.writeBytes(L"app.jar", "jar");
    scenario.writeBytes(L"settings.ini", "[Java Runtime Environment]\nMain Class=org.example.Stamped\n"
                                         "Virtual Machine Parameters=-Dstamped=yes\n[Class Path]\nClass Path=\\app.jar\n");
    const RunResult stamp = runStamp(scenario, L"\"" + launcherPath() + L"\" MyApp.exe --icon \"" +
                                                   sourcePath(L"tests\\stamp\\demo.ico") +
                                                   L"\" --version 2.3.4.5 --product-name \"Acme Viewer\" "
                                                   L"--company Acme --copyright \"(c) Acme\" --settings settings.ini");
    ASSERT_EQ(stamp.exitCode, 0u) << stamp.standardError;
    EXPECT_NE(stamp.standardOutput.find("version: 2.3.4.5"), std::string::npos) << stamp.standardOutput;

    TestRuntimeScenario runtime;
    runtime.mainClass = "org/example/Stamped";
    const std::wstring jvm =
        installTestRuntime(AppScenario::runtimeBuildFolder(), TestRuntimeVariant::Standard, scenario.folder(), runtime);
    ASSERT_FALSE(scenario.exists(L"MyApp.ini"));
    const RunResult result = scenario.run(L"given", 30000, pressDefaultButton, L"MyApp.exe");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.messageTexts(), std::vector<std::wstring>());
    EXPECT_EQ(result.exitCode, 0u);
    const TestRuntimeLog log = readTestRuntimeLog(jvm.substr(0, jvm.rfind(L'\\')));
    const std::vector<std::string> options = log.values("option");
    EXPECT_NE(std::find(options.begin(), options.end(), "-Dstamped=yes"), options.end());
    EXPECT_EQ(mainArguments(log), std::vector<std::string>{"given"});

    const std::wstring copy = scenario.path(L"MyApp.exe");
    DWORD handle = 0;
    std::vector<BYTE> block(::GetFileVersionInfoSizeW(copy.c_str(), &handle));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(copy.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020003u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00040005u);
    EXPECT_EQ(versionString(block, L"FileVersion"), L"2.3.4.5");
    EXPECT_EQ(versionString(block, L"ProductName"), L"Acme Viewer");
    EXPECT_EQ(versionString(block, L"CompanyName"), L"Acme");
    EXPECT_EQ(versionString(block, L"LegalCopyright"), L"(c) Acme");
    EXPECT_EQ(versionString(block, L"OriginalFilename"), L"MyApp.exe");

    // Each image of the demo icon has a colour of its own. (Wine's
    // ExtractIconExW scales the large image for the small icon too, so the
    // other sizes are asked for one by one.)
    EXPECT_EQ(::ExtractIconExW(copy.c_str(), -1, nullptr, nullptr, 0), 1u);
    HICON large = nullptr;
    ASSERT_EQ(::ExtractIconExW(copy.c_str(), 0, &large, nullptr, 1), 1u);
    EXPECT_EQ(iconCentre(large), std::make_pair(RGB(48, 160, 64), LONG{32}));
    ::DestroyIcon(large);
    const std::pair<int, COLORREF> sizes[] = {{16, RGB(208, 48, 48)}, {48, RGB(48, 80, 208)}, {256, RGB(240, 150, 30)}};
    for (const auto& size : sizes) {
        HICON icon = nullptr;
        UINT id = 0;
        ASSERT_EQ(::PrivateExtractIconsW(copy.c_str(), 0, size.first, size.first, &icon, &id, 1, 0), 1u);
        EXPECT_EQ(iconCentre(icon), std::make_pair(size.second, LONG{size.first})) << size.first;
        ::DestroyIcon(icon);
    }

    DWORD headerSum = 0;
    DWORD computedSum = 0;
    ASSERT_EQ(::MapFileAndCheckSumW(copy.c_str(), &headerSum, &computedSum), 0u);
    EXPECT_EQ(headerSum, computedSum);
}

TEST(Stamp, WindowsBuildRefusesATruncatedLauncher)
{
    Scenario scenario;
    const std::string launcher = readFileBytes(launcherPath());
    scenario.writeBytes(L"cut.exe", launcher.substr(0, launcher.size() - 1000));
    const RunResult result = runStamp(scenario, L"cut.exe MyApp.exe --version 1.0");
    EXPECT_EQ(result.exitCode, 2u);
    EXPECT_NE(result.standardError.find("cut.exe: truncated"), std::string::npos) << result.standardError;
    EXPECT_FALSE(scenario.exists(L"MyApp.exe"));
}

} // namespace
