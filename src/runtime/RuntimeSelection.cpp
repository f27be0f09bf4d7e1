#include "runtime/RuntimeSelection.h"

#include <algorithm>

#include "runtime/ReleaseFile.h"
#include "util/MessageFormat.h"
#include "util/MessageIds.h"
#include "util/PathText.h"

namespace {

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
    const auto before = [&](const RuntimeCandidate& a, const RuntimeCandidate& b) {
        if (byPreference && a.preferred != b.preferred) {
            return a.preferred;
        }
        if (byServer && a.hasServerVm != b.hasServerVm) {
            return a.hasServerVm;
        }
        return compareVersions(a.version, b.version) > 0;
    };
    // A stable insertion sort: the candidates are few, and equal ones keep
    // the order of the sources.
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        for (std::size_t j = i; j > 0 && before(candidates[j], candidates[j - 1]); --j) {
            std::swap(candidates[j], candidates[j - 1]);
        }
    }
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

namespace {

// One line per source tried: what it yielded, or why nothing. Its parts are
// only put together when the trace is on.
void traceSource(const Trace& trace, std::wstring_view source, std::wstring_view where, std::wstring_view outcome,
                 std::wstring_view detail = {})
{
    trace.line({L"runtime source ", source, where, L": ", outcome, detail});
}

std::wstring_view foundText(const std::wstring& library)
{
    return library.empty() ? std::wstring_view(L"no JVM library") : std::wstring_view(library);
}

// The selection of a JVM library found in a source; nothing when it is empty.
std::optional<RuntimeSelection> selectionOf(const std::wstring& library, const LauncherSettings& settings,
                                            RuntimeSelectionHost& host)
{
    if (library.empty()) {
        return std::nullopt;
    }
    return RuntimeSelection{library, needsPairLauncher(settings, library, host), std::nullopt};
}

// Beside the executable, or in its "jre64\" subfolder; never compared with the
// version range, and never handed to the pair launcher.
std::optional<RuntimeSelection> besideExecutable(const LauncherSettings& settings, RuntimeSelectionHost& host,
                                                 const PathExists& exists, const Trace& trace)
{
    const std::optional<std::wstring> executable = host.executablePath();
    if (!executable) {
        return std::nullopt;
    }
    const std::wstring folder = folderWithSeparator(*executable);
    std::wstring home;
    if (hasJavaRuntimeMarker(folder, exists)) {
        home = folder;
    } else if (hasJavaRuntimeMarker(folder + L"jre64\\", exists)) {
        home = folder + L"jre64\\";
    }
    // Without a runtime beside the executable there is nothing to probe: an
    // empty home would probe the bare sub-paths against the current
    // directory, and load a jvm.dll lying in whatever folder the user
    // started from.
    if (home.empty()) {
        trace.line({L"runtime source beside the launcher: no bin\\java.dll in ", folder, L" or its jre64\\"});
        return std::nullopt;
    }
    bool hasServerVm = false;
    const std::wstring library = findJvmLibrary(home, settings.jvmType, hasServerVm, exists);
    traceSource(trace, L"beside the launcher ", home, foundText(library));
    if (library.empty()) {
        return std::nullopt;
    }
    return RuntimeSelection{library, false, std::nullopt};
}

// The registry: the own view, then the 32-bit view for a pair launcher.
std::optional<RuntimeSelection> fromRegistry(const LauncherSettings& settings, RuntimeSelectionHost& host,
                                             const PathExists& exists, const Trace& trace)
{
    const auto choose = [&](RegistryView view) {
        const std::optional<RuntimeCandidate> chosen = chooseCandidate(host.searchRegistry(settings, view), settings);
        if (trace.on()) {
            traceSource(trace, view == RegistryView::Own ? L"registry, own view" : L"registry, 32-bit view", {},
                        chosen ? L"chosen " + describeCandidate(*chosen) : std::wstring(L"nothing found"));
        }
        return chosen;
    };
    bool throughPair = false;
    std::optional<RuntimeCandidate> chosen = choose(RegistryView::Own);
    if (!chosen && !settings.pairProduct.empty()) {
        chosen = choose(RegistryView::Bits32);
        throughPair = chosen.has_value();
    }
    if (!chosen) {
        return std::nullopt;
    }
    bool hasServerVm = false;
    const std::wstring library = findJvmLibrary(chosen->homeFolder, settings.jvmType, hasServerVm, exists);
    if (library.empty()) {
        traceSource(trace, L"registry", {}, L"the chosen runtime has no JVM library any more");
        return std::nullopt;
    }
    return RuntimeSelection{library, throughPair, chosen->version};
}

// JAVA_HOME, when the configuration asks for it: probed like "JRE Path", and
// admitted by the version its release file states (none stated: version 0,
// which only a range without lower bound admits). An elevated launcher leaves
// it alone: any process of the user can set it.
std::optional<RuntimeSelection> fromJavaHome(const LauncherSettings& settings, RuntimeSelectionHost& host,
                                             const PathExists& exists, const Trace& trace)
{
    if (host.runsElevated()) {
        traceSource(trace, L"JAVA_HOME", {}, L"skipped: the launcher runs elevated");
        return std::nullopt;
    }
    const std::optional<std::wstring> javaHome = host.environmentVariable(L"JAVA_HOME");
    if (!javaHome || javaHome->empty()) {
        traceSource(trace, L"JAVA_HOME", {}, L"not set");
        return std::nullopt;
    }
    const std::wstring home = withTrailingSeparator(*javaHome);
    const std::optional<std::string> release = host.readSmallFile(home + L"release");
    const VersionNumber version = release ? releaseFileVersion(*release).value_or(VersionNumber{}) : VersionNumber{};
    if (!inRange(version, settings.versionRange)) {
        if (trace.on()) {
            traceSource(trace, L"JAVA_HOME ", home, L"version " + formatVersion(version), L" out of range");
        }
        return std::nullopt;
    }
    bool hasServerVm = false;
    const std::wstring library = findJvmLibrary(home, settings.jvmType, hasServerVm, exists);
    traceSource(trace, L"JAVA_HOME ", home, foundText(library));
    return selectionOf(library, settings, host);
}

// The places the search went through, for a user who has to find a runtime.
std::wstring searchedPlaces(const LauncherSettings& settings, RuntimeSelectionHost& host)
{
    std::wstring places;
    if (!settings.jrePath.empty()) {
        places += L"\"JRE Path\" " + settings.jrePath + L"; ";
    }
    if (const std::optional<std::wstring> executable = host.executablePath()) {
        places += folderWithSeparator(*executable) + L" and its jre64\\; ";
    }
    places += settings.pairProduct.empty() ? L"the registry" : L"the registry (64-bit and 32-bit)";
    if (settings.useJavaHome) {
        places += L"; JAVA_HOME";
    }
    return places;
}

} // namespace

std::optional<RuntimeSelection> selectRuntime(const LauncherSettings& settings, RuntimeSelectionHost& host,
                                              const Trace& trace)
{
    const PathExists exists = [&host](const std::wstring& path) { return host.pathExists(path); };

    // 1. The configured folder, as written (relative to the current directory).
    if (!settings.jrePath.empty()) {
        bool hasServerVm = false;
        const std::wstring library =
            findJvmLibrary(withTrailingSeparator(settings.jrePath), settings.jvmType, hasServerVm, exists);
        traceSource(trace, L"\"JRE Path\" ", settings.jrePath, foundText(library));
        if (std::optional<RuntimeSelection> selection = selectionOf(library, settings, host)) {
            return selection;
        }
    }
    // 2. Beside the executable; 3. the registry; 4. JAVA_HOME.
    if (std::optional<RuntimeSelection> selection = besideExecutable(settings, host, exists, trace)) {
        return selection;
    }
    if (std::optional<RuntimeSelection> selection = fromRegistry(settings, host, exists, trace)) {
        return selection;
    }
    if (settings.useJavaHome) {
        if (std::optional<RuntimeSelection> selection = fromJavaHome(settings, host, exists, trace)) {
            return selection;
        }
    }

    // 5. The user.
    traceSource(trace, L"the user", {}, L"the runtime-not-found dialog");
    const std::optional<RuntimeChoice> choice =
        host.askUserForRuntime(runtimeNotFoundMessage(settings, host), searchedPlaces(settings, host), settings.jvmType);
    if (!choice) {
        return std::nullopt;
    }
    traceSource(trace, L"the user", {}, L"chose ", choice->folder);
    const RuntimeSelection selection{choice->jvmLibraryPath, needsPairLauncher(settings, choice->jvmLibraryPath, host),
                                     std::nullopt};
    host.rememberJrePath(choice->folder);
    return selection;
}
