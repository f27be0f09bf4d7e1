#include "runtime/RuntimeSelectionHost_win.h"

#include "config/ConfigLocation_win.h"
#include "runtime/RegistryReader_win.h"
#include "runtime/RegistrySearch.h"
#include "runtime/RuntimeProbe_win.h"
#include "ui/ErrorReporting_win.h"
#include "util/FileFinder_win.h"

bool Win32RuntimeSelectionHost::pathExists(const std::wstring& path)
{
    return ::pathExists(path);
}

std::optional<std::wstring> Win32RuntimeSelectionHost::executablePath()
{
    std::wstring path;
    if (!::executablePath(owner_, path)) {
        return std::nullopt;
    }
    return path;
}

bool Win32RuntimeSelectionHost::isX86Library(const std::wstring& path)
{
    return ::isX86Library(path);
}

std::vector<RuntimeCandidate> Win32RuntimeSelectionHost::searchRegistry(const LauncherSettings& settings,
                                                                        RegistryView view)
{
    Win32RegistryReader registry;
    return ::searchRegistry(settings.searchFilter, settings.versionRange, settings.jvmType, view, registry,
                            [](const std::wstring& path) { return ::pathExists(path); });
}

std::wstring Win32RuntimeSelectionHost::loadMessage(int id)
{
    return ::loadMessage(id);
}

std::optional<RuntimeSelectionHost::UserChoice> Win32RuntimeSelectionHost::askUserForRuntime(
    const std::wstring& message, JvmType)
{
    // Until the user can browse for a runtime folder, the start ends after
    // saying which runtime it needs.
    showError(owner_, message);
    return std::nullopt;
}

void Win32RuntimeSelectionHost::rememberJrePath(const std::wstring& folder)
{
    writeRememberedJrePath(owner_, settings_, folder);
}
