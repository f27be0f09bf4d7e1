#include "config/SettingsReader_win.h"

#include <string>

#include "config/ConfigLocation_win.h"
#include "config/EmbeddedSettings_win.h"
#include "config/SettingsReader.h"
#include "ui/ErrorReporting_win.h"
#include "util/FileFinder_win.h"
#include "util/AsciiText.h"

namespace {

// The settings sources of the running launcher.
class LauncherSettingsSource : public SettingsSource {
public:
    LauncherSettingsSource(std::wstring mainConfigPath, HWND owner)
        : mainConfigPath_(std::move(mainConfigPath)), owner_(owner)
    {
    }

    std::unique_ptr<ConfigStore> openMainFile() override { return std::make_unique<IniFile>(mainConfigPath_); }

    std::wstring embeddedSettingsText() override { return loadEmbeddedSettingsText(); }

    std::unique_ptr<ConfigStore> openExistingPerUserFile(const LauncherSettings& settings) override
    {
        std::wstring modulePath;
        if (!executablePath(owner_, modulePath)) {
            return nullptr;
        }
        std::wstring path = perUserConfigPath(modulePath, settings, false);
        if (!pathExists(path)) {
            return nullptr;
        }
        return std::make_unique<IniFile>(std::move(path));
    }

    void showMessage(int messageId) override { showError(owner_, loadMessage(messageId)); }

private:
    std::wstring mainConfigPath_;
    HWND owner_;
};

} // namespace

bool readLauncherSettings(LauncherSettings& settings, HWND owner, const Trace& trace,
                          std::unique_ptr<LayeredIniFile>& store)
{
    std::wstring configPath;
    if (!moduleConfigPath(owner, configPath)) {
        trace.line({L"no configuration file: the launcher's path cannot be read"});
        return false;
    }
    if (trace.on()) {
        trace.line({L"configuration file ", configPath, pathExists(configPath) ? L"" : L" (missing)"});
        const std::wstring embedded = loadEmbeddedSettingsText();
        trace.line({L"embedded settings: ", embedded.empty() ? L"none" : decimalText(embedded.size()) + L" characters"});
    }
    LauncherSettingsSource source(std::move(configPath), owner);
    store = openLayeredSettings(source);
    return readSettings(settings, *store, source, trace);
}
