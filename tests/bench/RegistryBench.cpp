// Cost of the registry search, measured under Wine in this process: the
// launcher's search over N registered versions spread over its rows, against
// a bare loop that only opens each version's key and reads its "JavaHome".
// Prints ratios only. Every key it creates is removed again.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "config/SettingsReader.h"
#include "runtime/RegistryReader_win.h"
#include "runtime/RegistrySearch.h"
#include "util/FileFinder_win.h"

namespace {

double now()
{
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The runtime folder of version i: a folder of its own, with the library
// where a modern runtime has it (the JDK rows of the older layout look in
// its jre\ folder).
std::wstring runtimeHome(const std::wstring& root, int i)
{
    return root + L"\\jdk-" + std::to_wstring(i);
}

void createRuntimes(const std::wstring& root, int count, bool create)
{
    for (int i = 0; i < count; ++i) {
        const std::wstring home = runtimeHome(root, i);
        for (const std::wstring& folder : {home, home + L"\\jre"}) {
            const std::wstring library = folder + L"\\bin\\server\\jvm.dll";
            if (create) {
                ::CreateDirectoryW(folder.c_str(), nullptr);
                ::CreateDirectoryW((folder + L"\\bin").c_str(), nullptr);
                ::CreateDirectoryW((folder + L"\\bin\\server").c_str(), nullptr);
                ::CloseHandle(::CreateFileW(library.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            } else {
                ::DeleteFileW(library.c_str());
                ::RemoveDirectoryW((folder + L"\\bin\\server").c_str());
                ::RemoveDirectoryW((folder + L"\\bin").c_str());
                ::RemoveDirectoryW(folder.c_str());
            }
        }
        if (!create) {
            ::RemoveDirectoryW(home.c_str());
        }
    }
}

HKEY rootKey(const RegistryRow& row)
{
    return row.root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The rows a search covers: the classic ones, and with `vendorRows` those of
// today's installers too.
std::vector<RegistryRow> searchedRows(bool vendorRows)
{
    std::vector<RegistryRow> rows;
    for (const RegistryRow& row : registryRows()) {
        if (vendorRows || row.vendor != VendorFamily::OpenJdk) {
            rows.push_back(row);
        }
    }
    return rows;
}

// N versions over the rows' keys, each naming a runtime of its own.
void registerVersions(int count, const std::wstring& root, bool vendorRows)
{
    const std::vector<RegistryRow> rows = searchedRows(vendorRows);
    for (int i = 0; i < count; ++i) {
        const RegistryRow& row = rows[static_cast<std::size_t>(i) % rows.size()];
        const std::wstring home = runtimeHome(root, i);
        const std::wstring key = std::wstring(row.key) + L"1." + std::to_wstring(i) + L".0_" +
                                 std::to_wstring(i % 400) + row.tail;
        HKEY handle = nullptr;
        if (::RegCreateKeyExW(rootKey(row), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                              nullptr) == ERROR_SUCCESS) {
            ::RegSetValueExW(handle, row.homeValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                             static_cast<DWORD>((home.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(handle);
        }
    }
}

// Removes every row's key, and its parents below "Software" once empty.
void removeRows()
{
    for (const RegistryRow& row : registryRows()) {
        std::wstring key = row.key;
        key.pop_back();
        ::RegDeleteTreeW(rootKey(row), key.c_str());
        ::RegDeleteKeyW(rootKey(row), key.c_str());
        key.erase(key.rfind(L'\\'));
        while (key.find(L'\\') != std::wstring::npos) {
            if (::RegDeleteKeyW(rootKey(row), key.c_str()) != ERROR_SUCCESS) {
                break;
            }
            key.erase(key.rfind(L'\\'));
        }
    }
}

// What any search must do at least: open every version's key, read its home.
std::size_t bareLoop(bool vendorRows)
{
    std::size_t found = 0;
    for (const RegistryRow& row : searchedRows(vendorRows)) {
        HKEY parent = nullptr;
        if (::RegOpenKeyExW(rootKey(row), row.key, 0, KEY_READ, &parent) != ERROR_SUCCESS) {
            continue;
        }
        wchar_t name[520];
        for (DWORD index = 0;; ++index) {
            DWORD length = 520;
            if (::RegEnumKeyExW(parent, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
                break;
            }
            HKEY version = nullptr;
            if (::RegOpenKeyExW(parent, (std::wstring(name, length) + row.tail).c_str(), 0, KEY_READ, &version) !=
                ERROR_SUCCESS) {
                continue;
            }
            wchar_t home[600];
            DWORD size = sizeof home;
            if (::RegQueryValueExW(version, row.homeValue, nullptr, nullptr, reinterpret_cast<BYTE*>(home), &size) ==
                ERROR_SUCCESS) {
                ++found;
            }
            ::RegCloseKey(version);
        }
        ::RegCloseKey(parent);
    }
    return found;
}

// The launcher's search; with `probeFiles` false the probe for a JVM library
// is answered without the file system, which leaves the walk alone.
std::size_t launcherSearch(bool probeFiles, bool vendorRows)
{
    RuntimeSearchFilter filter;
    applyVmProvider(L"any", filter);  // every row
    filter.vendorRuntimes = vendorRows;
    Win32RegistryReader registry;
    const std::wstring server = L"\\server\\jvm.dll";
    const PathExists probe = [probeFiles, &server](const std::wstring& path) {
        if (probeFiles) {
            return pathExists(path);
        }
        return path.size() > server.size() && path.compare(path.size() - server.size(), server.size(), server) == 0;
    };
    return searchRegistry(filter, VersionRange{}, JvmType::ClientFirst, RegistryView::Own, registry, probe).size();
}

struct Figures {
    double ratio = 0;        // median of the pair ratios
    double searchTime = 0;   // median seconds of one search
};

Figures measure(int count, const std::wstring& root, int runs, bool probeFiles, bool vendorRows)
{
    removeRows();
    registerVersions(count, root, vendorRows);
    std::vector<double> ratios;
    std::vector<double> searches;
    launcherSearch(probeFiles, vendorRows);  // warm the registry and the file cache
    bareLoop(vendorRows);
    for (int i = 0; i < runs; ++i) {
        const double t0 = now();
        const std::size_t found = launcherSearch(probeFiles, vendorRows);
        const double t1 = now();
        const std::size_t read = bareLoop(vendorRows);
        const double t2 = now();
        if (found != static_cast<std::size_t>(count) || read != static_cast<std::size_t>(count)) {
            std::printf("  %d versions: the search found %zu, the loop read %zu\n", count, found, read);
        }
        ratios.push_back((t1 - t0) / (t2 - t1));
        searches.push_back(t1 - t0);
    }
    removeRows();
    return Figures{median(ratios), median(searches)};
}

} // namespace

int main()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"registry-bench";
    ::CreateDirectoryW(root.c_str(), nullptr);
    createRuntimes(root, 2000, true);

    std::printf("Registry search, alternating with a bare loop that only reads each version's home\n");
    std::printf("(each version names a runtime folder of its own; median of 15 pairs):\n");
    struct Variant {
        bool probeFiles;
        bool vendorRows;
        const char* name;
    };
    const Variant variants[] = {
        {false, false, "the walk, the probe answered in memory"},
        {true, false, "the whole search, each folder probed for its jvm.dll"},
        {false, true, "with \"Search Vendor Runtimes\", the walk"},
        {true, true, "with \"Search Vendor Runtimes\", the whole search"},
    };
    for (const Variant& variant : variants) {
        const Figures small = measure(200, root, 15, variant.probeFiles, variant.vendorRows);
        const Figures large = measure(2000, root, 15, variant.probeFiles, variant.vendorRows);
        std::printf("  %s:\n", variant.name);
        std::printf("    ratio search / bare loop: %.3f for 200 versions, %.3f for 2000 (target: at most 1.5)\n",
                    small.ratio, large.ratio);
        std::printf("    search time for 2000 versions / for 200: %.2f (linear growth: about 10)\n",
                    large.searchTime / small.searchTime);
    }
    createRuntimes(root, 2000, false);
    ::RemoveDirectoryW(root.c_str());
    return 0;
}
