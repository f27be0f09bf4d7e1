#include "jvm/LaunchPreparation_win.h"

#include "app/CommandLine_win.h"
#include "app/ErrorReporting_win.h"
#include "app/Launcher.h"
#include "config/SettingsReader.h"
#include "config/SettingsReader_win.h"
#include "jvm/RuntimeEnvironment.h"
#include "jvm/VmOptions.h"
#include "util/FileFinder_win.h"
#include "util/PathText.h"
#include "util/Path_win.h"
#include "util/TextConversion_win.h"

namespace {

// The names a directory search reports for a pattern, in its order.
std::vector<std::wstring> listMatches(const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    FileFinder finder;
    if (!finder.findFirst(pattern.c_str())) {
        return names;
    }
    do {
        names.push_back(finder.fileName());
    } while (finder.findNext());
    return names;
}

MemoryStatus memoryStatus()
{
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    ::GlobalMemoryStatus(&status);
    MemoryStatus memory;
    memory.totalPhysicalBytes = status.dwTotalPhys;
    memory.availableVirtualBytes = status.dwAvailVirtual;
    return memory;
}

} // namespace

void prepareRuntimeEnvironment(Launcher& launcher)
{
    std::wstring launcherFolder;
    executableFolder(launcher.splashWindowHandle, launcherFolder);
    const std::optional<std::wstring> libraryPathOption = prepareRuntimeEnvironment(
        launcher.jvmLibraryPath, launcher.settings.libraryPath, launcher.settings.systemPath, launcherFolder,
        expandEnvironmentStrings,
        [](const std::wstring& name, const std::wstring& value) { ::SetEnvironmentVariableW(name.c_str(), value.c_str()); });
    if (libraryPathOption) {
        launcher.vmOptions.push_back(toThreadAnsi(*libraryPathOption));
    }
}

bool assembleVmOptions(Launcher& launcher)
{
    HWND owner = launcher.splashWindowHandle;
    const std::unique_ptr<LayeredIniFile> config = openLayeredConfig(owner);
    if (!config) {
        return false;
    }
    std::wstring executable;
    std::wstring folder;
    if (executablePath(owner, executable)) {
        folder = folderWithSeparator(executable);
    }
    VmOptionServices services;
    services.expandEnvironment = expandEnvironmentStrings;
    services.listMatches = listMatches;
    services.memoryStatus = memoryStatus;
    services.toAnsi = toThreadAnsi;
    services.showMessage = [owner](int messageId) { showError(owner, loadMessage(messageId)); };
    const VmOptionAssembly assembly =
        ::assembleVmOptions(readLaunchOptionSettings(*config), executable, folder, services, launcher.arguments);
    if (!assembly.succeeded) {
        return false;
    }
    launcher.vmOptions.insert(launcher.vmOptions.end(), assembly.options.begin(), assembly.options.end());
    launcher.vmThreadStackSize = assembly.vmThreadStackSize;
    launcher.settings.outputFile = assembly.outputFile;
    launcher.settings.outputAppend = assembly.outputAppend;
    launcher.settings.errorFile = assembly.errorFile;
    launcher.settings.errorAppend = assembly.errorAppend;
    return true;
}
