// Where a runtime folder the user chose is remembered, against real files.
#include <gtest/gtest.h>

#include <windows.h>

#include "config/ConfigLocation_win.h"
#include "support/WorkFolder.h"
#include "util/FileFinder_win.h"
#include "util/Path_win.h"
#include "support/SelfPath.h"

namespace {

std::wstring jrePathIn(const std::wstring& file)
{
    wchar_t value[MAX_PATH] = {};
    ::GetPrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", L"", value, MAX_PATH, file.c_str());
    return value;
}

// Sets APPDATA for one test and puts the old value back.
class AppDataOverride {
public:
    explicit AppDataOverride(const std::wstring& value)
    {
        wchar_t old[MAX_PATH * 2] = {};
        had_ = ::GetEnvironmentVariableW(L"APPDATA", old, MAX_PATH * 2) != 0;
        old_ = old;
        ::SetEnvironmentVariableW(L"APPDATA", value.c_str());
    }
    ~AppDataOverride() { ::SetEnvironmentVariableW(L"APPDATA", had_ ? old_.c_str() : nullptr); }

private:
    bool had_ = false;
    std::wstring old_;
};

TEST(RememberedJrePath, NormalApplicationsWriteThePerUserFilesOfLauncherAndPair)
{
    WorkFolder work;
    const AppDataOverride appData(work.folder());
    LauncherSettings settings;
    settings.productName = L"Acme: Suite";
    settings.productCode = L"AS1";
    settings.pairProduct = work.path(L"Pair.exe");
    writeRememberedJrePath(selfPath(), settings, L"C:\\Java\\jre\\");

    EXPECT_EQ(jrePathIn(work.path(L"Acme Suite\\AS1\\windows_tests.ini")), L"C:\\Java\\jre\\");
    EXPECT_EQ(jrePathIn(work.path(L"Acme Suite\\AS1\\Pair.ini")), L"C:\\Java\\jre\\");
    const std::wstring self = selfPath();
    ASSERT_FALSE(self.empty());
    EXPECT_FALSE(pathExists(self.substr(0, self.size() - 3) + L"ini")) << "the main file is not written";
}

TEST(RememberedJrePath, ServicesWriteTheMainFilesOfLauncherAndPair)
{
    WorkFolder work;
    const AppDataOverride appData(work.folder());
    const std::wstring self = selfPath();
    ASSERT_FALSE(self.empty());
    const std::wstring mainFile = self.substr(0, self.size() - 3) + L"ini";
    ::DeleteFileW(mainFile.c_str());
    LauncherSettings settings;
    settings.isService = true;
    settings.productName = L"Acme";
    settings.productCode = L"AS1";
    settings.pairProduct = work.path(L"Pair.exe");
    writeRememberedJrePath(selfPath(), settings, L"D:\\runtime\\");
    const std::wstring written = jrePathIn(mainFile);
    ::DeleteFileW(mainFile.c_str());

    EXPECT_EQ(written, L"D:\\runtime\\");
    EXPECT_EQ(jrePathIn(work.path(L"Pair.ini")), L"D:\\runtime\\");
    EXPECT_FALSE(pathExists(work.path(L"Acme"))) << "a service never writes a per-user file";
}

} // namespace
