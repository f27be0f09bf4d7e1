// The shipped executable itself: a 64-bit GUI program that needs nothing but
// Windows system DLLs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "util/PeHeaders.h"
#include "support/PeImports.h"
#include "support/Scenario.h"

namespace {

// The shipped size: built for size, without exceptions, with only the string
// functions it calls, the launcher is about 135 KiB; this catches what would
// bring a large part of the C or C++ runtime back in.
constexpr std::size_t kSizeLimit = 160 * 1024;

void checkImage(const std::string& bytes, std::uint16_t subsystem)
{
    ASSERT_FALSE(bytes.empty());
    EXPECT_LE(bytes.size(), kSizeLimit);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::optional<PeHeaders> headers = readPeHeaders(data, bytes.size());
    ASSERT_TRUE(headers.has_value());
    EXPECT_EQ(headers->machine, kMachineAmd64);
    EXPECT_TRUE(headers->is64BitOptionalHeader);
    EXPECT_EQ(headers->subsystem, subsystem);

    const std::optional<std::vector<std::string>> imports = readPeImports(bytes);
    ASSERT_TRUE(imports.has_value());
    const std::set<std::string> systemDlls = {
        "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll",
        "comctl32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll", "version.dll", "comdlg32.dll",
    };
    std::set<std::string> seen;
    for (std::string name : *imports) {
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        seen.insert(name);
        EXPECT_TRUE(systemDlls.count(name) != 0) << "imports " << name;
    }
    EXPECT_TRUE(seen.count("kernel32.dll") != 0);
    EXPECT_TRUE(seen.count("user32.dll") != 0);
}


TEST(LauncherImage, IsASmallGuiX64ImageImportingOnlySystemDlls)
{
    const struct Form {
        std::wstring path;
        std::uint16_t subsystem;
    } forms[] = {{launcherPath(), kSubsystemWindowsGui}, {buildPath(L"launcher-console.exe"), kSubsystemWindowsConsole}};
    for (const Form& form : forms) {
        SCOPED_TRACE(utf8(form.path));
        checkImage(readFileBytes(form.path), form.subsystem);
    }
}

} // namespace
