#include "config/ConfigLocation_win.h"

#include "config/ConfigLocation.h"
#include "config/SettingKeys.h"
#include "util/PathText.h"
#include "util/SystemLibrary_win.h"

namespace {

void writeJrePath(const std::wstring& file, const std::wstring& folder)
{
    // An empty name would write into the Windows folder's own ini file.
    if (file.empty()) {
        return;
    }
    ::WritePrivateProfileStringW(kSectionJavaRuntime, kKeyJrePath, folder.c_str(), file.c_str());
}

} // namespace

namespace {

const GUID kRoamingAppData = {0x3EB685DB, 0x65F9, 0x4CF6, {0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}};
const GUID kLocalAppData = {0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};

// A known folder of the user as the shell knows it; empty when it cannot be
// asked.
std::wstring knownFolder(const GUID& id)
{
    HRESULT(WINAPI * knownFolderPath)(REFGUID, DWORD, HANDLE, PWSTR*) = nullptr;
    void(WINAPI * freeMemory)(void*) = nullptr;
    if (!findFunction(loadSystemLibrary(L"shell32.dll"), "SHGetKnownFolderPath", knownFolderPath) ||
        !findFunction(loadSystemLibrary(L"ole32.dll"), "CoTaskMemFree", freeMemory)) {
        return std::wstring();
    }
    PWSTR path = nullptr;
    const HRESULT result = knownFolderPath(id, 0, nullptr, &path);
    std::wstring folder = SUCCEEDED(result) && path != nullptr ? std::wstring(path) : std::wstring();
    freeMemory(path);
    return folder;
}

} // namespace

namespace {

// The folder the environment variable names, else the shell's known folder.
std::wstring userFolder(const wchar_t* variable, const GUID& id)
{
    wchar_t buffer[kMaxPath];
    const DWORD length = ::GetEnvironmentVariableW(variable, buffer, kMaxPath);
    const std::wstring value = length != 0 && length < kMaxPath ? std::wstring(buffer, length) : std::wstring();
    // Anything else would put the per-user files below the current drive's
    // root, where other local users may create folders.
    const std::wstring folder = isFullPath(value) ? value : knownFolder(id);
    return isFullPath(folder) ? folder : std::wstring();
}

} // namespace

std::wstring applicationDataFolder()
{
    return userFolder(L"APPDATA", kRoamingAppData);
}

namespace {

// Creates "<base>\<product name>\<product code>" and returns it with a final
// backslash; empty when it cannot be had.
std::wstring createProductFolder(const std::wstring& base, const LauncherSettings& settings)
{
    const std::wstring product = joinText({base, L"\\", productFolderName(settings.productName)});
    const std::wstring code = joinText({product, L"\\", settings.productCode, L"\\"});
    ::CreateDirectoryW(product.c_str(), nullptr);
    ::CreateDirectoryW(code.c_str(), nullptr);
    const DWORD attributes = ::GetFileAttributesW(code.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? code
                                                                                                 : std::wstring();
}

} // namespace

std::wstring localProductFolder(const LauncherSettings& settings)
{
    const std::wstring local = userFolder(L"LOCALAPPDATA", kLocalAppData);
    if (local.empty() || productFolderName(settings.productName).empty() || settings.productCode.empty()) {
        return std::wstring();
    }
    return createProductFolder(local, settings);
}

std::wstring perUserConfigPath(const std::wstring& executablePath, const LauncherSettings& settings,
                               bool createFolders)
{
    const std::wstring appData = applicationDataFolder();
    if (appData.empty()) {
        return std::wstring();
    }
    if (createFolders) {
        createProductFolder(appData, settings);
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
