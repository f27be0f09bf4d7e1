#include "ui/SystemLibraries_win.h"

#include <commctrl.h>

#include "util/OnceInit_win.h"
#include "util/SystemLibrary_win.h"

namespace {

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
        HMODULE library = loadSystemLibrary(L"ole32.dll");
        findFunction(library, "CoInitializeEx", loaded.initialise);
        findFunction(library, "CoUninitialize", loaded.uninitialise);
        findFunction(library, "CoTaskMemFree", loaded.freeMemory);
        return &loaded;
    });
}

} // namespace

const GdiFunctions* gdiFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return loadOnce<const GdiFunctions>(once, []() -> const GdiFunctions* {
        static GdiFunctions loaded;
        const HMODULE library = loadSystemLibrary(L"gdi32.dll");
        const bool complete = findFunction(library, "CreateCompatibleDC", loaded.createCompatibleDc) &&
                              findFunction(library, "CreateCompatibleBitmap", loaded.createCompatibleBitmap) &&
                              findFunction(library, "SelectObject", loaded.selectObject) &&
                              findFunction(library, "BitBlt", loaded.bitBlt) &&
                              findFunction(library, "GetObjectW", loaded.getObject) &&
                              findFunction(library, "DeleteDC", loaded.deleteDc) &&
                              findFunction(library, "DeleteObject", loaded.deleteObject) &&
                              findFunction(library, "CreateFontIndirectW", loaded.createFontIndirect) &&
                              findFunction(library, "GetStockObject", loaded.getStockObject) &&
                              findFunction(library, "SetTextColor", loaded.setTextColor) &&
                              findFunction(library, "SetBkMode", loaded.setBkMode);
        return complete ? &loaded : nullptr;
    });
}

const ShellFunctions& shellFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return *loadOnce<const ShellFunctions>(once, []() -> const ShellFunctions* {
        static ShellFunctions loaded;
        HMODULE library = loadSystemLibrary(L"shell32.dll");
        findFunction(library, "SHBrowseForFolderW", loaded.browseForFolder);
        findFunction(library, "SHGetPathFromIDListW", loaded.pathFromIdList);
        findFunction(library, "ShellExecuteW", loaded.execute);
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
               if (findFunction(loadSystemLibrary(L"comctl32.dll"), "InitCommonControlsEx", initialise)) {
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
