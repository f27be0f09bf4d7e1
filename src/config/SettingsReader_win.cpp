#include "config/SettingsReader_win.h"

#include "app/ErrorReporting_win.h"
#include "config/ConfigLocation_win.h"
#include "util/GrowBuffer.h"

namespace {

std::wstring readProfileString(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    return readWithGrowingBuffer(256, 1u << 24, [&](wchar_t* buffer, std::size_t size) {
        const DWORD length = ::GetPrivateProfileStringW(section, key, L"", buffer, static_cast<DWORD>(size),
                                                        file.c_str());
        return GrowAttempt{length, length == size - 1};
    });
}

} // namespace

bool readLauncherSettings(LauncherSettings& settings, HWND owner)
{
    std::wstring configPath;
    if (!moduleConfigPath(owner, configPath)) {
        return false;
    }
    settings.productCode = readProfileString(configPath, L"Product Information", L"Product Code");
    settings.productName = readProfileString(configPath, L"Product Information", L"Product Name");
    std::wstring mainClass = readProfileString(configPath, L"Java Runtime Environment", L"Main Class");
    for (wchar_t& c : mainClass) {
        if (c == L'.') {
            c = L'/';
        }
    }
    settings.mainClass = mainClass;
    if (settings.mainClass.empty()) {
        showError(owner, loadMessage(IDS_MAIN_CLASS_MISSING));
        return false;
    }
    return true;
}
