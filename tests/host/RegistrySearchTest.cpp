#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "config/SettingsReader.h"
#include "runtime/RegistrySearch.h"

namespace {

std::vector<std::uint8_t> utf16(const std::wstring& text, bool terminated = true)
{
    std::vector<std::uint8_t> bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    if (terminated) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}

std::string show(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    }
    return out;
}

// A registry held in a table: subkeys in insertion order, typed values.
class FakeRegistry : public RegistryReader {
public:
    // Registers `value` as "JavaHome" of `key` + `name` (a string when it is
    // given as text).
    void add(const std::wstring& key, const std::wstring& name, std::vector<std::uint8_t> value,
             RegistryView view = RegistryView::Own)
    {
        addSubkey(RegistryRoot::LocalMachine, key, name, view);
        set(RegistryRoot::LocalMachine, key + name, L"JavaHome", {kRegistryString, std::move(value)}, view);
    }

    void addSubkey(RegistryRoot root, const std::wstring& key, const std::wstring& name,
                   RegistryView view = RegistryView::Own)
    {
        subkeys[{view, root, key}].push_back(name);
    }

    void set(RegistryRoot root, const std::wstring& key, const std::wstring& name, RegistryValue value,
             RegistryView view = RegistryView::Own)
    {
        values[{view, root, key + L"|" + name}] = std::move(value);
    }

    std::optional<std::vector<RegistrySubkey>> readSubkeys(RegistryRoot root, const std::wstring& key,
                                                           const std::wstring& tail,
                                                           const std::vector<std::wstring>& valueNames,
                                                           RegistryView view, const SubkeyFilter& wanted) override
    {
        const auto found = subkeys.find({view, root, key});
        if (found == subkeys.end()) {
            return std::nullopt;
        }
        std::vector<RegistrySubkey> result;
        for (const std::wstring& name : found->second) {
            if (!wanted(name)) {
                continue;
            }
            RegistrySubkey subkey{name, {}};
            for (const std::wstring& valueName : valueNames) {
                const auto value = values.find({view, root, key + name + tail + L"|" + valueName});
                const bool present = value != values.end() && !value->second.bytes.empty();
                subkey.values.push_back(present ? std::optional<RegistryValue>(value->second) : std::nullopt);
            }
            result.push_back(std::move(subkey));
        }
        return result;
    }

    std::map<std::tuple<RegistryView, RegistryRoot, std::wstring>, std::vector<std::wstring>> subkeys;
    std::map<std::tuple<RegistryView, RegistryRoot, std::wstring>, RegistryValue> values;
};

const wchar_t* const kRowKeys[] = {
    L"Software\\JavaSoft\\JDK\\",
    L"Software\\JavaSoft\\JRE\\",
    L"Software\\JavaSoft\\Java Development Kit\\",
    L"Software\\JavaSoft\\Java Runtime Environment\\",
    L"Software\\JRockit\\Java Runtime Environment\\",
    L"Software\\JRockit\\Java Development Kit\\",
    L"Software\\IBM\\Java2 Runtime Environment\\",
};

TEST(RegistrySearch, RowsSearchedAndPreferredFollowSourceAndProvider)
{
    // One runtime 11 under each row, at C:\r<row>\ (its jre\ for rows 3 and 6).
    FakeRegistry registry;
    std::set<std::wstring> files;
    for (int row = 1; row <= 7; ++row) {
        const std::wstring home = L"C:\\r" + std::to_wstring(row);
        registry.add(kRowKeys[row - 1], L"11", utf16(home));
        files.insert(home + (row == 3 || row == 6 ? L"\\jre" : L"") + L"\\bin\\server\\jvm.dll");
    }
    const PathExists exists = [&files](const std::wstring& path) { return files.count(path) != 0; };

    struct Row {
        const wchar_t* jvmSource;
        const wchar_t* vmProvider;
        std::wstring expected;  // the rows found, "+" after a preferred one
    };
    const Row rows[] = {
        {L"", L"", L"1+ 2+ 3+ 4+"},
        {L"only_JRE", L"any", L"2 4 5 7"},
        {L"favor_JDK", L"any", L"1 2 3 4 5 6 7"},
        {L"favor_JRE", L"", L"1 2+ 3 4+"},
        {L"", L"iBm", L"7+"},
        {L"only_JDK", L"ibm", L""},
        {L"Only_JDK", L"", L""},
        {L"", L"favor_jrockit", L"1 2 3 4 5+ 6+ 7"},
    };
    for (const Row& row : rows) {
        RuntimeSearchFilter filter;
        applyJvmSource(row.jvmSource, filter);
        applyVmProvider(row.vmProvider, filter);
        std::wstring found;
        for (const RuntimeCandidate& candidate :
             searchRegistry(filter, VersionRange{}, JvmType::ClientFirst, RegistryView::Own, registry, exists)) {
            const std::size_t digit = candidate.homeFolder.find_first_of(L"1234567");
            found += (found.empty() ? L"" : L" ") + candidate.homeFolder.substr(digit, 1) +
                     (candidate.preferred ? L"+" : L"");
            if (candidate.homeFolder.back() != L'\\') {
                found += L"(no final backslash)";
            }
        }
        EXPECT_EQ(found, row.expected) << show(row.jvmSource) << " / " << show(row.vmProvider);
    }
    // The JDK keys of the older layout name the JDK; its runtime lies in jre\.
    const auto jdk = searchRegistry(RuntimeSearchFilter{}, VersionRange{}, JvmType::ClientFirst, RegistryView::Own,
                                    registry, exists);
    ASSERT_EQ(jdk.size(), 4u);
    EXPECT_EQ(jdk[2].homeFolder, L"C:\\r3\\jre\\");
    // The other view holds nothing.
    EXPECT_TRUE(searchRegistry(RuntimeSearchFilter{}, VersionRange{}, JvmType::ClientFirst, RegistryView::Bits32,
                               registry, exists)
                    .empty());
}

TEST(RegistrySearch, SubkeysAndValuesAsInstallersAndAccidentsLeaveThem)
{
    const std::wstring jdk = kRowKeys[0];
    const std::wstring jre = kRowKeys[3];
    FakeRegistry registry;
    std::set<std::wstring> files = {
        L"C:\\jdk11\\bin\\server\\jvm.dll", L"C:\\jre8\\bin\\client\\jvm.dll", L"C:\\jre8\\bin\\server\\jvm.dll",
        L"C:\\nodigits\\bin\\server\\jvm.dll", L"C:\\raw\\bin\\server\\jvm.dll", L"\\bin\\server\\jvm.dll",
        L"C:\\jdk9\\bin\\server\\jvm.dll"};
    const PathExists exists = [&files](const std::wstring& path) { return files.count(path) != 0; };
    std::vector<std::uint8_t> huge = utf16(std::wstring(32768, L'x'));
    registry.add(jdk, L"11.0.2", utf16(L"C:\\jdk11"));                    // found, a server VM
    registry.add(jdk, L"11", utf16(L"C:\\jdk11\\"));                      // the same folder again: kept
    registry.add(jdk, L"jre", utf16(L"C:\\nodigits"));                    // no digits: version 0
    registry.add(jdk, L"12.0.1", {});                                     // empty value
    registry.add(jdk, L"12.0.2", {0x04, 0x00, 0x00, 0x00});               // a DWORD: no such folder
    registry.add(jdk, L"12.0.3", huge);                                   // 64 KB: no such folder
    registry.add(jdk, L"12.0.4", utf16(L"C:\\raw", false));               // no terminator
    registry.add(jdk, L"12.0.5", {0x00, 0x00});                           // only a NUL: no folder named
    registry.add(jdk, L"12.0.6", utf16(L"C:\\gone"));                     // points nowhere
    registry.add(jdk, L"9", utf16(L"C:\\jdk9"));                          // below the range
    registry.add(jre, L"1.8.0_251", utf16(L"C:\\jre8"));                  // client and server VM

    struct Row {
        const char* name;
        JvmType type;
        std::int32_t lowerMajor;
        std::vector<std::wstring> expected;  // home folder, "+server" when found with a server VM
    };
    const Row rows[] = {
        {"client first, lower bound 10", JvmType::ClientFirst, 10,
         {L"C:\\jdk11\\+server", L"C:\\jdk11\\+server", L"C:\\raw\\+server"}},
        {"no lower bound", JvmType::ClientFirst, 0,
         {L"C:\\jdk11\\+server", L"C:\\jdk11\\+server", L"C:\\nodigits\\+server", L"C:\\raw\\+server",
          L"C:\\jdk9\\+server", L"C:\\jre8\\"}},
        // Under "favor_server" the old JRE key is still probed client first.
        {"favor server", JvmType::FavorServer, 0,
         {L"C:\\jdk11\\+server", L"C:\\jdk11\\+server", L"C:\\nodigits\\+server", L"C:\\raw\\+server",
          L"C:\\jdk9\\+server", L"C:\\jre8\\"}},
        {"server only", JvmType::ServerOnly, 0,
         {L"C:\\jdk11\\+server", L"C:\\jdk11\\+server", L"C:\\nodigits\\+server", L"C:\\raw\\+server",
          L"C:\\jdk9\\+server", L"C:\\jre8\\+server"}},
    };
    for (const Row& row : rows) {
        VersionRange range;
        range.lower.components = {row.lowerMajor, 0, 0, 0};
        std::vector<std::wstring> found;
        for (const RuntimeCandidate& candidate :
             searchRegistry(RuntimeSearchFilter{}, range, row.type, RegistryView::Own, registry, exists)) {
            found.push_back(candidate.homeFolder + (candidate.hasServerVm ? L"+server" : L""));
        }
        EXPECT_EQ(found, row.expected) << row.name;
    }
}

std::vector<std::uint8_t> dword(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

TEST(RegistrySearch, TodaysInstallersWithSearchVendorRuntimes)
{
    const RegistryRoot machine = RegistryRoot::LocalMachine;
    const RegistryRoot user = RegistryRoot::CurrentUser;
    FakeRegistry registry;
    registry.add(kRowKeys[0], L"11", utf16(L"C:\\javasoft11"));
    const auto vendor = [&registry](RegistryRoot root, const std::wstring& key, const std::wstring& name,
                                    const std::wstring& tail, const std::wstring& value, const std::wstring& home) {
        registry.addSubkey(root, key, name);
        registry.set(root, key + name + tail, value, {kRegistryString, utf16(home)});
    };
    vendor(machine, L"Software\\Eclipse Adoptium\\JDK\\", L"21.0.5.11", L"\\hotspot\\MSI", L"Path", L"C:\\adoptium21");
    vendor(user, L"Software\\Eclipse Adoptium\\JRE\\", L"17.0.9.9", L"\\hotspot\\MSI", L"Path", L"C:\\user17\\");
    vendor(machine, L"Software\\Microsoft\\JDK\\", L"17.0.1", L"\\hotspot\\MSI", L"Path", L"C:\\stale");
    vendor(machine, L"Software\\Azul Systems\\Zulu\\", L"zulu-11-jre", L"", L"InstallationPath", L"C:\\zulu11\\");
    registry.set(machine, L"Software\\Azul Systems\\Zulu\\zulu-11-jre", L"MajorVersion", {kRegistryDword, dword(11)});
    registry.set(machine, L"Software\\Azul Systems\\Zulu\\zulu-11-jre", L"MinorVersion", {kRegistryDword, dword(22)});
    vendor(machine, L"Software\\BellSoft\\Liberica\\", L"jdk-8", L"", L"InstallationPath", L"C:\\liberica8");
    const std::set<std::wstring> files = {L"C:\\javasoft11\\bin\\server\\jvm.dll", L"C:\\adoptium21\\bin\\server\\jvm.dll",
                                          L"C:\\user17\\bin\\server\\jvm.dll", L"C:\\zulu11\\bin\\server\\jvm.dll",
                                          L"C:\\liberica8\\bin\\server\\jvm.dll"};
    const PathExists exists = [&files](const std::wstring& path) { return files.count(path) != 0; };

    struct Row {
        const char* name;
        bool vendorRuntimes;
        const wchar_t* jvmSource;
        const wchar_t* vmProvider;
        std::int32_t lowerMajor;
        std::wstring expected;  // folder name and version of each candidate, "+" when preferred
        bool elevated = false;  // the per-user keys are then left out
    };
    const Row rows[] = {
        {"off", false, L"", L"", 0, L"javasoft11 11.0.0.0+"},
        {"on", true, L"", L"", 0,
         L"javasoft11 11.0.0.0+, adoptium21 21.0.5.11, user17 17.0.9.9, zulu11 11.22.0.0, liberica8 8.0.0.0"},
        {"only runtimes: the Zulu key named -jre is one", true, L"only_JRE", L"", 0,
         L"user17 17.0.9.9, zulu11 11.22.0.0"},
        {"only development kits", true, L"only_JDK", L"", 0, L"javasoft11 11.0.0.0+, adoptium21 21.0.5.11, liberica8 8.0.0.0"},
        {"JRockit alone leaves them out", true, L"", L"jrockit", 0, L""},
        {"any vendor", true, L"", L"favor_jrockit", 0,
         L"javasoft11 11.0.0.0, adoptium21 21.0.5.11, user17 17.0.9.9, zulu11 11.22.0.0, liberica8 8.0.0.0"},
        {"version range", true, L"", L"", 12, L"adoptium21 21.0.5.11, user17 17.0.9.9"},
        {"elevated", true, L"", L"", 0, L"javasoft11 11.0.0.0+, adoptium21 21.0.5.11, zulu11 11.22.0.0, liberica8 8.0.0.0",
         true},
        {"elevated, only runtimes", true, L"only_JRE", L"", 0, L"zulu11 11.22.0.0", true},
    };
    for (const Row& row : rows) {
        RuntimeSearchFilter filter;
        applyJvmSource(row.jvmSource, filter);
        applyVmProvider(row.vmProvider, filter);
        filter.vendorRuntimes = row.vendorRuntimes;
        VersionRange range;
        range.lower.components = {row.lowerMajor, 0, 0, 0};
        std::wstring found;
        std::wstring traced;
        const Trace trace([&](const std::wstring& line) { traced += line + L"\n"; });
        for (const RuntimeCandidate& candidate :
             searchRegistry(filter, range, JvmType::ClientFirst, RegistryView::Own, registry, exists, trace,
                            row.elevated)) {
            const std::wstring& home = candidate.homeFolder;
            found += (found.empty() ? L"" : L", ") + home.substr(3, home.size() - 4) + L" ";
            for (std::size_t i = 0; i < 4; ++i) {
                found += std::to_wstring(candidate.version.components[i]) + (i < 3 ? L"." : L"");
            }
            found += candidate.preferred ? L"+" : L"";
        }
        EXPECT_EQ(found, row.expected) << row.name;
        const bool userKeySkipped =
            traced.find(L"registry HKCU\\Software\\Eclipse Adoptium\\JRE\\*\\hotspot\\MSI: skipped: the launcher "
                        L"runs elevated") != std::wstring::npos;
        EXPECT_EQ(userKeySkipped, row.elevated && row.vendorRuntimes) << row.name;
    }
}

TEST(RegistrySearch, ValueText)
{
    struct Row {
        std::vector<std::uint8_t> bytes;
        std::wstring text;
    };
    const Row rows[] = {
        {{'C', 0, ':', 0, 0, 0, 'x', 0}, L"C:"},  // up to the first NUL
        {{'C', 0, ':', 0}, L"C:"},                // no terminator
        {{'C', 0, ':'}, L"C"},                    // an odd last byte is no character
        {{0xE9, 0x00, 0x3A, 0x26}, L"\u00E9\u263A"},
        {{}, L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(registryValueText(row.bytes.data(), row.bytes.size()), row.text) << show(row.text);
    }
}

} // namespace
