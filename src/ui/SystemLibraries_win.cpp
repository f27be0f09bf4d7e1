#include "ui/SystemLibraries_win.h"

#include <commctrl.h>

#include "util/OnceInit_win.h"

namespace {

HMODULE systemLibrary(const wchar_t* name)
{
    return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <typename Function>
bool loadFunction(HMODULE library, const char* name, Function& function)
{
    if (library != nullptr) {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    }
    return function != nullptr;
}

struct ComFunctions {
    decltype(&::CoInitializeEx) initialise = nullptr;
    decltype(&::CoUninitialize) uninitialise = nullptr;
    decltype(&::CoTaskMemFree) freeMemory = nullptr;
};

const ComFunctions& comFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return *loadOnce<const ComFunctions>(once, []() -> const ComFunctions* {
        static ComFunctions loaded;
        HMODULE library = systemLibrary(L"ole32.dll");
        loadFunction(library, "CoInitializeEx", loaded.initialise);
        loadFunction(library, "CoUninitialize", loaded.uninitialise);
        loadFunction(library, "CoTaskMemFree", loaded.freeMemory);
        return &loaded;
    });
}

} // namespace

const GdiFunctions* gdiFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return loadOnce<const GdiFunctions>(once, []() -> const GdiFunctions* {
        static GdiFunctions loaded;
        const HMODULE library = systemLibrary(L"gdi32.dll");
        const bool complete = loadFunction(library, "CreateCompatibleDC", loaded.createCompatibleDc) &&
                              loadFunction(library, "CreateCompatibleBitmap", loaded.createCompatibleBitmap) &&
                              loadFunction(library, "SelectObject", loaded.selectObject) &&
                              loadFunction(library, "BitBlt", loaded.bitBlt) &&
                              loadFunction(library, "GetObjectW", loaded.getObject) &&
                              loadFunction(library, "DeleteDC", loaded.deleteDc) &&
                              loadFunction(library, "DeleteObject", loaded.deleteObject) &&
                              loadFunction(library, "CreateFontIndirectW", loaded.createFontIndirect) &&
                              loadFunction(library, "GetStockObject", loaded.getStockObject) &&
                              loadFunction(library, "SetTextColor", loaded.setTextColor) &&
                              loadFunction(library, "SetBkMode", loaded.setBkMode);
        return complete ? &loaded : nullptr;
    });
}

const ShellFunctions& shellFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return *loadOnce<const ShellFunctions>(once, []() -> const ShellFunctions* {
        static ShellFunctions loaded;
        HMODULE library = systemLibrary(L"shell32.dll");
        loadFunction(library, "SHBrowseForFolderW", loaded.browseForFolder);
        loadFunction(library, "SHGetPathFromIDListW", loaded.pathFromIdList);
        loadFunction(library, "ShellExecuteW", loaded.execute);
        return &loaded;
    });
}

bool initialiseCommonControls()
{
    struct Result {
        bool initialised = false;
    };
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return loadOnce<const Result>(once, []() -> const Result* {
               static Result result;
               // The manifest's activation context redirects the name to the
               // version 6 library.
               decltype(&::InitCommonControlsEx) initialise = nullptr;
               if (loadFunction(systemLibrary(L"comctl32.dll"), "InitCommonControlsEx", initialise)) {
                   INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
                   result.initialised = initialise(&classes) != FALSE;
               }
               return &result;
           })->initialised;
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
