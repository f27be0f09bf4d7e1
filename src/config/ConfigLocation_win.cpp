#include "config/ConfigLocation_win.h"

#include "config/ConfigLocation.h"
#include "config/SettingKeys.h"
#include "ui/ErrorReporting_win.h"
#include "util/PathText.h"

namespace {

void writeJrePath(const std::wstring& file, const std::wstring& folder)
{
    ::WritePrivateProfileStringW(kSectionJavaRuntime, kKeyJrePath, folder.c_str(), file.c_str());
}

} // namespace

bool moduleConfigPath(HWND owner, std::wstring& path)
{
    std::wstring module;
    if (!executablePath(owner, module)) {
        return false;
    }
    const std::optional<std::wstring> config = mainConfigPathFor(module);
    if (!config) {
        return false;
    }
    path = *config;
    return true;
}

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

void writeRememberedJrePath(HWND owner, const LauncherSettings& settings, const std::wstring& folder)
{
    std::wstring module;
    if (!executablePath(owner, module)) {
        return;
    }
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
