#include "config/SettingsReader_win.h"

#include <string>

#include "config/ConfigLocation.h"
#include "config/ConfigLocation_win.h"
#include "config/EmbeddedSettings_win.h"
#include "config/SettingsReader.h"
#include "util/FileFinder_win.h"
#include "util/AsciiText.h"

namespace {

// The settings sources of the running launcher.
class LauncherSettingsSource : public SettingsSource {
public:
    LauncherSettingsSource(std::wstring mainConfigPath, const std::wstring& executablePath)
        : mainConfigPath_(std::move(mainConfigPath)), executablePath_(executablePath)
    {
    }

    std::unique_ptr<ConfigStore> openMainFile() override { return std::make_unique<IniFile>(mainConfigPath_); }

    std::wstring embeddedSettingsText() override { return loadEmbeddedSettingsText(); }

    std::unique_ptr<ConfigStore> openExistingPerUserFile(const LauncherSettings& settings) override
    {
        std::wstring path = perUserConfigPath(executablePath_, settings, false);
        if (path.empty() || !pathExists(path)) {
            return nullptr;
        }
        return std::make_unique<IniFile>(std::move(path));
    }

private:
    std::wstring mainConfigPath_;
    const std::wstring& executablePath_;
};

} // namespace

Expected<void> readLauncherSettings(LauncherSettings& settings, const std::wstring& executablePath, const Trace& trace,
                                    std::unique_ptr<LayeredIniFile>& store)
{
    std::optional<std::wstring> found = mainConfigPathFor(executablePath);
    if (!found) {
        trace.line({L"no configuration file: the launcher's path has no extension"});
        return Failure{};
    }
    std::wstring configPath = std::move(*found);
    if (trace.on()) {
        trace.line({L"configuration file ", configPath, pathExists(configPath) ? L"" : L" (missing)"});
        const std::wstring embedded = loadEmbeddedSettingsText();
        trace.line({L"embedded settings: ", embedded.empty() ? L"none" : decimalText(embedded.size()) + L" characters"});
    }
    LauncherSettingsSource source(std::move(configPath), executablePath);
    store = openLayeredSettings(source);
    return readSettings(settings, *store, source, trace);
}
