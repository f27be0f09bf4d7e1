#include "runtime/RuntimeSelection.h"

#include <algorithm>

#include "runtime/ReleaseFile.h"
#include "ui/MessageFormat.h"
#include "ui/MessageIds.h"
#include "util/PathText.h"

namespace {

std::wstring withSeparator(std::wstring folder)
{
    if (folder.empty() || folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

// A 64-bit launcher cannot load a 32-bit library: with a pair launcher
// configured, such a library is handed to it.
bool needsPairLauncher(const LauncherSettings& settings, const std::wstring& library, RuntimeSelectionHost& host)
{
    return !settings.pairProduct.empty() && host.isX86Library(library);
}

} // namespace

std::optional<RuntimeCandidate> chooseCandidate(std::vector<RuntimeCandidate> candidates,
                                                const LauncherSettings& settings)
{
    if (candidates.empty()) {
        return std::nullopt;
    }
    const bool byPreference = settings.searchFilter.searchBothKinds;
    const bool byServer = settings.jvmType == JvmType::FavorServer;
    std::stable_sort(candidates.begin(), candidates.end(), [&](const RuntimeCandidate& a, const RuntimeCandidate& b) {
        if (byPreference && a.preferred != b.preferred) {
            return a.preferred;
        }
        if (byServer && a.hasServerVm != b.hasServerVm) {
            return a.hasServerVm;
        }
        return compareVersions(a.version, b.version) > 0;
    });
    for (const std::wstring& text : settings.preferredVersions) {
        const VersionNumber preferred = parseVersion(text, 0).value_or(VersionNumber{});
        for (const RuntimeCandidate& candidate : candidates) {
            if (matchesPreferredVersion(candidate.version, preferred)) {
                return candidate;
            }
        }
    }
    return candidates.front();
}

std::wstring runtimeNotFoundMessage(const LauncherSettings& settings, RuntimeSelectionHost& host)
{
    const std::wstring phrase =
        describeVersionRange(settings.versionRange, [&host](int id) { return host.loadMessage(id); });
    const int format = settings.jvmType == JvmType::ServerOnly ? IDS_JRE_NOT_FOUND_SERVER : IDS_JRE_NOT_FOUND;
    return formatMessage(host.loadMessage(format), {phrase});
}

std::optional<RuntimeSelection> selectRuntime(const LauncherSettings& settings, RuntimeSelectionHost& host,
                                              const Trace& trace)
{
    const PathExists exists = [&host](const std::wstring& path) { return host.pathExists(path); };
    RuntimeSelection selection;
    bool hasServerVm = false;
    // One line per source tried: what it yielded, or why nothing.
    // Its parts are only put together when the trace is on.
    const auto tried = [&trace](std::wstring_view source, std::wstring_view where, std::wstring_view outcome,
                                std::wstring_view detail = {}) {
        trace.line({L"runtime source ", source, where, L": ", outcome, detail});
    };
    const auto found = [](const std::wstring& library) {
        return library.empty() ? std::wstring_view(L"no JVM library") : std::wstring_view(library);
    };

    // 1. The configured folder, as written (relative to the current directory).
    if (!settings.jrePath.empty()) {
        selection.jvmLibraryPath = findJvmLibrary(withSeparator(settings.jrePath), settings.jvmType, hasServerVm, exists);
        tried(L"\"JRE Path\" ", settings.jrePath, found(selection.jvmLibraryPath));
        if (!selection.jvmLibraryPath.empty()) {
            selection.relaunchThroughPair = needsPairLauncher(settings, selection.jvmLibraryPath, host);
            return selection;
        }
    }

    // 2. Beside the executable, or in its "jre64\" subfolder; never compared
    // with the version range.
    if (const std::optional<std::wstring> executable = host.executablePath()) {
        const std::wstring folder = folderWithSeparator(*executable);
        std::wstring home;
        if (hasJavaRuntimeMarker(folder, exists)) {
            home = folder;
        } else if (hasJavaRuntimeMarker(folder + L"jre64\\", exists)) {
            home = folder + L"jre64\\";
        }
        // Without a runtime beside the executable there is nothing to probe:
        // an empty home would probe the bare sub-paths against the current
        // directory, and load a jvm.dll lying in whatever folder the user
        // started from.
        if (!home.empty()) {
            selection.jvmLibraryPath = findJvmLibrary(home, settings.jvmType, hasServerVm, exists);
            tried(L"beside the launcher ", home, found(selection.jvmLibraryPath));
            if (!selection.jvmLibraryPath.empty()) {
                return selection;
            }
        } else {
            trace.line({L"runtime source beside the launcher: no bin\\java.dll in ", folder, L" or its jre64\\"});
        }
    }

    // 3. The registry: the own view, then the 32-bit view for a pair launcher.
    const auto choose = [&](RegistryView view) {
        const std::optional<RuntimeCandidate> chosen = chooseCandidate(host.searchRegistry(settings, view), settings);
        if (trace.on()) {
            tried(view == RegistryView::Own ? L"registry, own view" : L"registry, 32-bit view", {},
                  chosen ? L"chosen " + describeCandidate(*chosen) : std::wstring(L"nothing found"));
        }
        return chosen;
    };
    std::optional<RuntimeCandidate> chosen = choose(RegistryView::Own);
    if (!chosen && !settings.pairProduct.empty()) {
        chosen = choose(RegistryView::Bits32);
        if (chosen) {
            selection.relaunchThroughPair = true;
        }
    }
    if (chosen) {
        selection.jvmLibraryPath = findJvmLibrary(chosen->homeFolder, settings.jvmType, hasServerVm, exists);
        if (!selection.jvmLibraryPath.empty()) {
            return selection;
        }
        tried(L"registry", {}, L"the chosen runtime has no JVM library any more");
        selection.relaunchThroughPair = false;
    }

    // 4. JAVA_HOME, when the configuration asks for it: probed like "JRE
    // Path", and admitted by the version its release file states (none
    // stated: version 0, which only a range without lower bound admits).
    if (settings.useJavaHome) {
        const std::optional<std::wstring> javaHome = host.environmentVariable(L"JAVA_HOME");
        if (javaHome && !javaHome->empty()) {
            const std::wstring home = withSeparator(*javaHome);
            const std::optional<std::string> release = host.readSmallFile(home + L"release");
            const VersionNumber version =
                release ? releaseFileVersion(*release).value_or(VersionNumber{}) : VersionNumber{};
            if (inRange(version, settings.versionRange)) {
                selection.jvmLibraryPath = findJvmLibrary(home, settings.jvmType, hasServerVm, exists);
                tried(L"JAVA_HOME ", home, found(selection.jvmLibraryPath));
                if (!selection.jvmLibraryPath.empty()) {
                    selection.relaunchThroughPair = needsPairLauncher(settings, selection.jvmLibraryPath, host);
                    return selection;
                }
            } else {
                if (trace.on()) {
                    tried(L"JAVA_HOME ", home, L"version " + formatVersion(version), L" out of range");
                }
            }
        } else {
            tried(L"JAVA_HOME", {}, L"not set");
        }
    }

    // 5. The user.
    tried(L"the user", {}, L"the runtime-not-found dialog");
    const std::optional<RuntimeSelectionHost::UserChoice> choice =
        host.askUserForRuntime(runtimeNotFoundMessage(settings, host), settings.jvmType);
    if (!choice) {
        return std::nullopt;
    }
    tried(L"the user", {}, L"chose ", choice->folder);
    selection.jvmLibraryPath = choice->jvmLibraryPath;
    selection.relaunchThroughPair = needsPairLauncher(settings, selection.jvmLibraryPath, host);
    host.rememberJrePath(choice->folder);
    return selection;
}
