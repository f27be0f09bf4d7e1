// The embedded settings text as the build stores it in an executable.
#include <gtest/gtest.h>

#include <windows.h>

#include "config/EmbeddedSettings_win.h"
#include "config/IniDocument.h"
#include "util/Path_win.h"
#include "support/SelfPath.h"

namespace {

TEST(EmbeddedSettings, TestLauncherCarriesItsSettingsText)
{
    // launcher_embedded_test.exe lies at the top of the build tree, two
    // levels above this program (tests\windows\).
    const std::wstring folder = selfFolder();
    ASSERT_FALSE(folder.empty());
    const std::wstring launcher = folder + L"..\\..\\launcher_embedded_test.exe";
    HMODULE module = ::LoadLibraryExW(launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << "build launcher_embedded_test first";
    const std::wstring text = loadEmbeddedSettingsText(module);
    ::FreeLibrary(module);

    IniDocument document;
    document.parse(text);
    EXPECT_EQ(document.readValue(L"Java Runtime Environment", L"Main Class"), L"org.example.EmbeddedMain");
    EXPECT_EQ(document.readValue(L"Application", L"Cmd"), L"--from-embedded");
}

TEST(EmbeddedSettings, ProgramWithoutTheResourceHasNoText)
{
    EXPECT_EQ(loadEmbeddedSettingsText(nullptr), L"");
}

} // namespace
