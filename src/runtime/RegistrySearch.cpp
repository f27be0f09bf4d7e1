#include "runtime/RegistrySearch.h"

#include "util/AsciiText.h"
#include "util/PathText.h"

namespace {

bool kindSearched(const RuntimeSearchFilter& filter, RuntimeKind kind)
{
    return kind == RuntimeKind::Jdk ? filter.jdkKind : filter.jreKind;
}

bool vendorAllowed(const RuntimeSearchFilter& filter, VendorFamily vendor)
{
    switch (vendor) {
    case VendorFamily::JavaSoft: return filter.javaSoftAllowed || filter.javaSoftFavoured;
    case VendorFamily::JRockit: return filter.jrockitAllowed || filter.jrockitFavoured;
    case VendorFamily::Ibm: return filter.ibmAllowed || filter.ibmFavoured;
    case VendorFamily::OpenJdk: return filter.vendorRuntimes && (filter.javaSoftAllowed || filter.javaSoftFavoured);
    }
    return false;
}

bool vendorFavoured(const RuntimeSearchFilter& filter, VendorFamily vendor)
{
    switch (vendor) {
    case VendorFamily::JavaSoft: return filter.javaSoftFavoured;
    case VendorFamily::JRockit: return filter.jrockitFavoured;
    case VendorFamily::Ibm: return filter.ibmFavoured;
    case VendorFamily::OpenJdk: return false;
    }
    return false;
}

bool searchedKind(const RuntimeSearchFilter& filter, RuntimeKind kind)
{
    return filter.searchBothKinds || kindSearched(filter, kind);
}

RuntimeKind subkeyKind(const RegistryRow& row, const std::wstring& name)
{
    if (row.kind != RuntimeKind::NamedInSubkey) {
        return row.kind;
    }
    for (std::size_t i = 0; i + 3 <= name.size(); ++i) {
        if (asciiLower(name[i]) == L'j' && asciiLower(name[i + 1]) == L'r' && asciiLower(name[i + 2]) == L'e') {
            return RuntimeKind::Jre;
        }
    }
    return RuntimeKind::Jdk;
}

VersionNumber nameVersion(const std::wstring& name)
{
    return parseVersion(name, 0).value_or(VersionNumber{});
}

// The values read per subkey: the home value, then the version values.
std::vector<std::wstring> valueNamesOf(const RegistryRow& row)
{
    std::vector<std::wstring> names = {row.homeValue};
    for (const wchar_t* name : row.versionValues) {
        if (name != nullptr && *name != L'\0') {
            names.push_back(name);
        }
    }
    return names;
}

VersionNumber subkeyVersion(const RegistrySubkey& subkey)
{
    if (subkey.values.size() > 1 && subkey.values[1]) {
        if (const std::optional<std::int32_t> major = registryValueNumber(*subkey.values[1])) {
            VersionNumber version;
            version.components[0] = *major;
            for (std::size_t i = 2; i < subkey.values.size() && i < 4; ++i) {
                if (subkey.values[i]) {
                    version.components[i - 1] = registryValueNumber(*subkey.values[i]).value_or(0);
                }
            }
            return version;
        }
    }
    return nameVersion(subkey.name);
}

void searchRow(const RegistryRow& row, const RuntimeSearchFilter& filter, const VersionRange& range, JvmType jvmType,
               RegistryView view, RegistryReader& registry, const PathExists& exists,
               std::vector<RuntimeCandidate>& candidates, const Trace& trace)
{
    const wchar_t* const root = row.root == RegistryRoot::CurrentUser ? L"HKCU\\" : L"HKLM\\";
    // One line per subkey left out or taken, with why; the parts of the
    // outcome are only put together when the trace is on.
    const auto traced = [&](const std::wstring& name, std::wstring_view what, std::wstring_view detail = {},
                            std::wstring_view more = {}) {
        trace.line({L"registry ", root, row.key, name, row.tail, L": ", what, detail, more});
    };
    const JvmType probeType =
        row.favorServerProbedAsClientFirst && jvmType == JvmType::FavorServer ? JvmType::ClientFirst : jvmType;
    const std::vector<std::wstring> valueNames = valueNamesOf(row);
    const bool versionFromName = valueNames.size() == 1;
    // The name decides the kind, and (without version values) the version,
    // before anything is read.
    const std::optional<std::vector<RegistrySubkey>> subkeys =
        registry.readSubkeys(row.root, row.key, row.tail, valueNames, view, [&](const std::wstring& name) {
            if (!searchedKind(filter, subkeyKind(row, name))) {
                traced(name, L"a kind that \"JVM Source\" leaves out");
                return false;
            }
            if (versionFromName && !inRange(nameVersion(name), range)) {
                if (trace.on()) {
                    traced(name, L"version ", formatVersion(nameVersion(name)), L" out of range");
                }
                return false;
            }
            return true;
        });
    if (!subkeys) {
        trace.line({L"registry ", root, row.key, L": not present", view == RegistryView::Bits32 ? L" (32-bit view)" : L""});
        return;
    }
    for (const RegistrySubkey& subkey : *subkeys) {
        const std::optional<RegistryValue>& homeValue = subkey.values.front();
        if (!homeValue) {
            traced(subkey.name, L"no value ", row.homeValue);
            continue;
        }
        const VersionNumber version = subkeyVersion(subkey);
        if (!versionFromName && !inRange(version, range)) {
            if (trace.on()) {
                traced(subkey.name, L"version ", formatVersion(version), L" out of range");
            }
            continue;
        }
        std::wstring home = registryValueText(homeValue->bytes.data(), homeValue->bytes.size());
        // A value holding no text names no folder; as a bare "\" it would
        // send the probe to the root of the current drive.
        if (home.empty()) {
            traced(subkey.name, L"an empty folder name");
            continue;
        }
        home = withTrailingSeparator(std::move(home)) + row.homeSuffix;
        RuntimeCandidate candidate;
        if (findJvmLibrary(home, probeType, candidate.hasServerVm, exists).empty()) {
            traced(subkey.name, L"no JVM library in ", home);
            continue;
        }
        candidate.version = version;
        candidate.homeFolder = std::move(home);
        const RuntimeKind kind = subkeyKind(row, subkey.name);
        candidate.preferred = kindSearched(filter, kind) && vendorFavoured(filter, row.vendor);
        if (trace.on()) {
            traced(subkey.name, L"candidate ", describeCandidate(candidate));
        }
        candidates.push_back(std::move(candidate));
    }
}

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// The classic installers' keys, then, each under the machine and for per-user
// installs under the user, those of today's OpenJDK installers.
const RegistryRow kRows[] = {
    {kMachine, L"Software\\JavaSoft\\JDK\\", L"", L"JavaHome", RuntimeKind::Jdk, VendorFamily::JavaSoft, L"", false,
     {}},
    {kMachine, L"Software\\JavaSoft\\JRE\\", L"", L"JavaHome", RuntimeKind::Jre, VendorFamily::JavaSoft, L"", false,
     {}},
    {kMachine, L"Software\\JavaSoft\\Java Development Kit\\", L"", L"JavaHome", RuntimeKind::Jdk,
     VendorFamily::JavaSoft, L"jre\\", false, {}},
    {kMachine, L"Software\\JavaSoft\\Java Runtime Environment\\", L"", L"JavaHome", RuntimeKind::Jre,
     VendorFamily::JavaSoft, L"", true, {}},
    {kMachine, L"Software\\JRockit\\Java Runtime Environment\\", L"", L"JavaHome", RuntimeKind::Jre,
     VendorFamily::JRockit, L"", false, {}},
    {kMachine, L"Software\\JRockit\\Java Development Kit\\", L"", L"JavaHome", RuntimeKind::Jdk, VendorFamily::JRockit,
     L"jre\\", false, {}},
    {kMachine, L"Software\\IBM\\Java2 Runtime Environment\\", L"", L"JavaHome", RuntimeKind::Jre,
     VendorFamily::Ibm, L"", false, {}},
    {kMachine, L"Software\\Eclipse Adoptium\\JDK\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\Eclipse Adoptium\\JDK\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\Eclipse Adoptium\\JRE\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\Eclipse Adoptium\\JRE\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\AdoptOpenJDK\\JDK\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\AdoptOpenJDK\\JDK\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\AdoptOpenJDK\\JDK\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\AdoptOpenJDK\\JDK\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\AdoptOpenJDK\\JRE\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\AdoptOpenJDK\\JRE\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\AdoptOpenJDK\\JRE\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\AdoptOpenJDK\\JRE\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\Microsoft\\JDK\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\Microsoft\\JDK\\", L"\\hotspot\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\Semeru\\JDK\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\Semeru\\JDK\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jdk,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\Semeru\\JRE\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kUser, L"Software\\Semeru\\JRE\\", L"\\openj9\\MSI", L"Path", RuntimeKind::Jre,
     VendorFamily::OpenJdk, L"", false, {}},
    {kMachine, L"Software\\Azul Systems\\Zulu\\", L"", L"InstallationPath", RuntimeKind::NamedInSubkey,
     VendorFamily::OpenJdk, L"", false, {L"MajorVersion", L"MinorVersion", L""}},
    {kUser, L"Software\\Azul Systems\\Zulu\\", L"", L"InstallationPath", RuntimeKind::NamedInSubkey,
     VendorFamily::OpenJdk, L"", false, {L"MajorVersion", L"MinorVersion", L""}},
    {kMachine, L"Software\\BellSoft\\Liberica\\", L"", L"InstallationPath", RuntimeKind::NamedInSubkey,
     VendorFamily::OpenJdk, L"", false, {L"MajorVersion", L"MinorVersion", L"PatchVersion"}},
    {kUser, L"Software\\BellSoft\\Liberica\\", L"", L"InstallationPath", RuntimeKind::NamedInSubkey,
     VendorFamily::OpenJdk, L"", false, {L"MajorVersion", L"MinorVersion", L"PatchVersion"}},
};

} // namespace

FixedList<RegistryRow> registryRows()
{
    return fixedList(kRows);
}

std::vector<RuntimeCandidate> searchRegistry(const RuntimeSearchFilter& filter, const VersionRange& range,
                                             JvmType jvmType, RegistryView view, RegistryReader& registry,
                                             const PathExists& exists, const Trace& trace, bool elevated)
{
    std::vector<RuntimeCandidate> candidates;
    for (const RegistryRow& row : registryRows()) {
        const bool kindPossible = row.kind == RuntimeKind::NamedInSubkey || searchedKind(filter, row.kind);
        if (!kindPossible || !vendorAllowed(filter, row.vendor)) {
            continue;
        }
        if (elevated && row.root == RegistryRoot::CurrentUser) {
            trace.line({L"registry HKCU\\", row.key, L"*", row.tail, L": skipped: the launcher runs elevated"});
            continue;
        }
        searchRow(row, filter, range, jvmType, view, registry, exists, candidates, trace);
    }
    return candidates;
}
