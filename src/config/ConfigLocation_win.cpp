#include "config/ConfigLocation_win.h"

#include "config/ConfigLocation.h"
#include "config/SettingKeys.h"
#include "util/PathText.h"

namespace {

void writeJrePath(const std::wstring& file, const std::wstring& folder)
{
    ::WritePrivateProfileStringW(kSectionJavaRuntime, kKeyJrePath, folder.c_str(), file.c_str());
}

} // namespace

std::wstring applicationDataFolder()
{
    wchar_t buffer[kMaxPath];
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", buffer, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return std::wstring();
    }
    return std::wstring(buffer, length);
}

std::wstring perUserConfigPath(const std::wstring& executablePath, const LauncherSettings& settings,
                               bool createFolders)
{
    const std::wstring appData = applicationDataFolder();
    if (createFolders) {
        const std::wstring productFolder = appData + L"\\" + productFolderName(settings.productName);
        ::CreateDirectoryW(productFolder.c_str(), nullptr);
        ::CreateDirectoryW((productFolder + L"\\" + settings.productCode).c_str(), nullptr);
    }
    return perUserConfigPathFor(appData, settings.productName, settings.productCode, executablePath);
}

void writeRememberedJrePath(const std::wstring& module, const LauncherSettings& settings, const std::wstring& folder)
{
    const std::optional<std::wstring> mainConfig = mainConfigPathFor(module);
    if (!mainConfig) {
        return;
    }
    if (settings.isService) {
        writeJrePath(*mainConfig, folder);
        if (!settings.pairProduct.empty()) {
            if (const std::optional<std::wstring> pairConfig = mainConfigPathFor(settings.pairProduct)) {
                writeJrePath(*pairConfig, folder);
            }
        }
        return;
    }
    writeJrePath(perUserConfigPath(module, settings, true), folder);
    if (!settings.pairProduct.empty()) {
        writeJrePath(perUserConfigPath(settings.pairProduct, settings, true), folder);
    }
}
