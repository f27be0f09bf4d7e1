#include "jvm/LaunchPreparation_win.h"

#include "config/SettingsReader.h"
#include "config/SettingsReader_win.h"
#include "jvm/RuntimeEnvironment.h"
#include "util/EnvironmentExpansion_win.h"
#include "util/FileFinder_win.h"
#include "util/Path_win.h"
#include "util/PathText.h"
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

NarrowingServices runtimeNarrowing(const Trace& trace)
{
    NarrowingServices narrowing;
    narrowing.exact = toThreadAnsiExact;
    narrowing.shortPath = shortPathOf;
    narrowing.trace = trace;
    return narrowing;
}

Expected<std::optional<std::string>> prepareRuntimeEnvironment(const std::wstring& jvmLibraryPath,
                                                               const LauncherSettings& settings,
                                                               const std::wstring& executablePath,
                                                               const Trace& trace)
{
    const std::optional<std::wstring> libraryPathOption = prepareRuntimeEnvironment(
        jvmLibraryPath, settings.libraryPath, settings.systemPath, folderWithSeparator(executablePath),
        expandEnvironmentStrings,
        [](const std::wstring& name, const std::wstring& value) { ::SetEnvironmentVariableW(name.c_str(), value.c_str()); });
    if (!libraryPathOption) {
        return std::optional<std::string>();
    }
    Expected<std::string> narrow = narrowOption(*libraryPathOption, runtimeNarrowing(trace));
    if (!narrow) {
        return narrow.failure();
    }
    return std::optional<std::string>(std::move(*narrow));
}

Expected<VmOptionAssembly> assembleVmOptions(const ConfigStore& config, const std::wstring& executablePath,
                                             std::vector<std::wstring>& arguments, const Trace& trace)
{
    VmOptionServices services;
    services.expandEnvironment = expandEnvironmentStrings;
    services.listMatches = listMatches;
    services.memoryStatus = memoryStatus;
    services.toAnsi = [narrowing = runtimeNarrowing(trace)](const std::wstring& option) {
        return narrowOption(option, narrowing);
    };
    services.trace = trace;
    return ::assembleVmOptions(readLaunchOptionSettings(config), executablePath, folderWithSeparator(executablePath),
                               services, arguments);
}
