#include "ui/SystemLibraries_win.h"

#include <commctrl.h>

namespace {

// From the system folder only: never a planted copy beside the launcher.
HMODULE systemLibrary(const wchar_t* name)
{
    return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <typename Function>
void loadFunction(HMODULE library, const char* name, Function& function)
{
    if (library != nullptr) {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    }
}

struct ComFunctions {
    decltype(&::CoInitializeEx) initialise = nullptr;
    decltype(&::CoUninitialize) uninitialise = nullptr;
    decltype(&::CoTaskMemFree) freeMemory = nullptr;
};

const ComFunctions& comFunctions()
{
    static const ComFunctions functions = [] {
        ComFunctions loaded;
        HMODULE library = systemLibrary(L"ole32.dll");
        loadFunction(library, "CoInitializeEx", loaded.initialise);
        loadFunction(library, "CoUninitialize", loaded.uninitialise);
        loadFunction(library, "CoTaskMemFree", loaded.freeMemory);
        return loaded;
    }();
    return functions;
}

} // namespace

const ShellFunctions& shellFunctions()
{
    static const ShellFunctions functions = [] {
        ShellFunctions loaded;
        HMODULE library = systemLibrary(L"shell32.dll");
        loadFunction(library, "SHBrowseForFolderW", loaded.browseForFolder);
        loadFunction(library, "SHGetPathFromIDListW", loaded.pathFromIdList);
        loadFunction(library, "ShellExecuteW", loaded.execute);
        return loaded;
    }();
    return functions;
}

const RegistryFunctions& registryFunctions()
{
    static const RegistryFunctions functions = [] {
        RegistryFunctions loaded;
        HMODULE library = systemLibrary(L"advapi32.dll");
        loadFunction(library, "RegOpenKeyExW", loaded.openKey);
        loadFunction(library, "RegQueryValueExW", loaded.queryValue);
        loadFunction(library, "RegCloseKey", loaded.closeKey);
        return loaded;
    }();
    return functions;
}

bool initialiseCommonControls()
{
    static const bool initialised = [] {
        // The manifest's activation context redirects the name to the
        // version 6 library.
        decltype(&::InitCommonControlsEx) initialise = nullptr;
        loadFunction(systemLibrary(L"comctl32.dll"), "InitCommonControlsEx", initialise);
        if (initialise == nullptr) {
            return false;
        }
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        return initialise(&classes) != FALSE;
    }();
    return initialised;
}

ComScope::ComScope()
{
    const ComFunctions& com = comFunctions();
    if (com.initialise != nullptr && com.uninitialise != nullptr) {
        // S_FALSE (already initialised here) must be balanced as well.
        initialised_ = SUCCEEDED(com.initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
}

ComScope::~ComScope()
{
    if (initialised_) {
        comFunctions().uninitialise();
    }
}

void ComScope::freeMemory(void* memory)
{
    if (memory != nullptr && comFunctions().freeMemory != nullptr) {
        comFunctions().freeMemory(memory);
    }
}
