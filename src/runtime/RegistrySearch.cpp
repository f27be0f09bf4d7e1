#include "runtime/RegistrySearch.h"

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
    }
    return false;
}

bool vendorFavoured(const RuntimeSearchFilter& filter, VendorFamily vendor)
{
    switch (vendor) {
    case VendorFamily::JavaSoft: return filter.javaSoftFavoured;
    case VendorFamily::JRockit: return filter.jrockitFavoured;
    case VendorFamily::Ibm: return filter.ibmFavoured;
    }
    return false;
}

void searchRow(const RegistryRow& row, const RuntimeSearchFilter& filter, const VersionRange& range, JvmType jvmType,
               RegistryView view, RegistryReader& registry, const PathExists& exists,
               std::vector<RuntimeCandidate>& candidates)
{
    const bool preferred = kindSearched(filter, row.kind) && vendorFavoured(filter, row.vendor);
    const JvmType probeType =
        row.favorServerProbedAsClientFirst && jvmType == JvmType::FavorServer ? JvmType::ClientFirst : jvmType;
    const auto versionOf = [](const std::wstring& name) { return parseVersion(name, 0).value_or(VersionNumber{}); };
    const std::optional<std::vector<RegistrySubkey>> subkeys =
        registry.readSubkeys(row.root, row.key, std::wstring(), {row.homeValue}, view,
                             [&](const std::wstring& name) { return inRange(versionOf(name), range); });
    if (!subkeys) {
        return;
    }
    for (const RegistrySubkey& subkey : *subkeys) {
        const std::optional<std::vector<std::uint8_t>>& bytes = subkey.values.front();
        if (!bytes) {
            continue;
        }
        std::wstring home = registryValueText(bytes->data(), bytes->size());
        // A value holding no text names no folder; as a bare "\" it would
        // send the probe to the root of the current drive.
        if (home.empty()) {
            continue;
        }
        if (home.back() != L'\\') {
            home += L'\\';
        }
        home += row.homeSuffix;
        RuntimeCandidate candidate;
        if (findJvmLibrary(home, probeType, candidate.hasServerVm, exists).empty()) {
            continue;
        }
        candidate.version = versionOf(subkey.name);
        candidate.homeFolder = std::move(home);
        candidate.preferred = preferred;
        candidates.push_back(std::move(candidate));
    }
}

} // namespace

const std::vector<RegistryRow>& registryRows()
{
    static const std::vector<RegistryRow> rows = {
        {RegistryRoot::LocalMachine, L"Software\\JavaSoft\\JDK\\", L"JavaHome", RuntimeKind::Jdk,
         VendorFamily::JavaSoft, L"", false},
        {RegistryRoot::LocalMachine, L"Software\\JavaSoft\\JRE\\", L"JavaHome", RuntimeKind::Jre,
         VendorFamily::JavaSoft, L"", false},
        {RegistryRoot::LocalMachine, L"Software\\JavaSoft\\Java Development Kit\\", L"JavaHome", RuntimeKind::Jdk,
         VendorFamily::JavaSoft, L"jre\\", false},
        {RegistryRoot::LocalMachine, L"Software\\JavaSoft\\Java Runtime Environment\\", L"JavaHome",
         RuntimeKind::Jre, VendorFamily::JavaSoft, L"", true},
        {RegistryRoot::LocalMachine, L"Software\\JRockit\\Java Runtime Environment\\", L"JavaHome", RuntimeKind::Jre,
         VendorFamily::JRockit, L"", false},
        {RegistryRoot::LocalMachine, L"Software\\JRockit\\Java Development Kit\\", L"JavaHome", RuntimeKind::Jdk,
         VendorFamily::JRockit, L"jre\\", false},
        {RegistryRoot::LocalMachine, L"Software\\IBM\\Java2 Runtime Environment\\", L"JavaHome", RuntimeKind::Jre,
         VendorFamily::Ibm, L"", false},
    };
    return rows;
}

std::vector<RuntimeCandidate> searchRegistry(const RuntimeSearchFilter& filter, const VersionRange& range,
                                             JvmType jvmType, RegistryView view, RegistryReader& registry,
                                             const PathExists& exists)
{
    std::vector<RuntimeCandidate> candidates;
    for (const RegistryRow& row : registryRows()) {
        if ((filter.searchBothKinds || kindSearched(filter, row.kind)) && vendorAllowed(filter, row.vendor)) {
            searchRow(row, filter, range, jvmType, view, registry, exists, candidates);
        }
    }
    return candidates;
}
