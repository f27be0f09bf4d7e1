#include "runtime/RuntimeSelectionHost_win.h"

#include "config/ConfigLocation_win.h"
#include "runtime/RegistryReader_win.h"
#include "runtime/RegistrySearch.h"
#include "runtime/RuntimeProbe_win.h"
#include "util/EnvironmentExpansion_win.h"
#include "util/FileFinder_win.h"
#include "util/MessageText_win.h"
#include "util/Path_win.h"
#include "util/Security_win.h"
#include "util/UniqueHandle_win.h"

bool Win32RuntimeSelectionHost::pathExists(const std::wstring& path)
{
    return ::pathExists(path);
}

std::optional<std::wstring> Win32RuntimeSelectionHost::executablePath()
{
    return executablePath_;
}

bool Win32RuntimeSelectionHost::isX86Library(const std::wstring& path)
{
    return ::isX86Library(path);
}

std::vector<RuntimeCandidate> Win32RuntimeSelectionHost::searchRegistry(const LauncherSettings& settings,
                                                                        RegistryView view)
{
    Win32RegistryReader registry;
    // Only the per-user rows depend on it, and only "Search Vendor Runtimes"
    // searches them: other starts do not ask.
    const bool elevated = settings.searchFilter.vendorRuntimes && runsElevated();
    return ::searchRegistry(settings.searchFilter, settings.versionRange, settings.jvmType, view, registry,
                            [](const std::wstring& path) { return ::pathExists(path); }, trace_, elevated);
}

bool Win32RuntimeSelectionHost::runsElevated()
{
    return ::runsElevated();
}

std::wstring Win32RuntimeSelectionHost::loadMessage(int id)
{
    return ::loadMessage(id);
}

std::optional<std::wstring> Win32RuntimeSelectionHost::environmentVariable(const std::wstring& name)
{
    return ::environmentVariable(name);
}

std::optional<std::string> Win32RuntimeSelectionHost::readSmallFile(const std::wstring& path)
{
    return readFileStart(path, 64 * 1024);
}

std::optional<RuntimeSelectionHost::UserChoice> Win32RuntimeSelectionHost::askUserForRuntime(
    const std::wstring& message, const std::wstring& searched, JvmType jvmType)
{
    const RuntimeFolderProbe probe = [jvmType](const std::wstring& folder) {
        bool hasServerVm = false;
        return findJvmLibrary(folder, jvmType, hasServerVm, [](const std::wstring& path) { return ::pathExists(path); });
    };
    return reporter_.askForRuntime(message, searched, settings_.downloadPage, probe);
}

void Win32RuntimeSelectionHost::rememberJrePath(const std::wstring& folder)
{
    writeRememberedJrePath(executablePath_, settings_, folder);
}
