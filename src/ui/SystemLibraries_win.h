#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

// Functions of system libraries that only the launcher's windows use: the
// splash screen, the runtime-not-found dialog and its link. They are loaded on
// first use, from the system folder only (never a planted copy beside the
// launcher), so that an ordinary start loads none of these libraries; a
// library stays loaded for the rest of the process.

// GDI. Null when gdi32 or one of the functions cannot be found.
struct GdiFunctions {
    decltype(&::CreateCompatibleDC) createCompatibleDc = nullptr;
    decltype(&::CreateCompatibleBitmap) createCompatibleBitmap = nullptr;
    decltype(&::SelectObject) selectObject = nullptr;
    decltype(&::BitBlt) bitBlt = nullptr;
    decltype(&::GetObjectW) getObject = nullptr;
    decltype(&::DeleteDC) deleteDc = nullptr;
    decltype(&::DeleteObject) deleteObject = nullptr;
    decltype(&::CreateFontIndirectW) createFontIndirect = nullptr;
    decltype(&::GetStockObject) getStockObject = nullptr;
    decltype(&::SetTextColor) setTextColor = nullptr;
    decltype(&::SetBkMode) setBkMode = nullptr;
};
const GdiFunctions* gdiFunctions();

// The shell; a function that cannot be found is null.
struct ShellFunctions {
    decltype(&::SHBrowseForFolderW) browseForFolder = nullptr;
    decltype(&::SHGetPathFromIDListW) pathFromIdList = nullptr;
    decltype(&::ShellExecuteW) execute = nullptr;
};
const ShellFunctions& shellFunctions();

// Registers the common control classes (the tooltip among them); false when
// the library cannot be loaded.
bool initialiseCommonControls();

// COM for the calling thread while the object lives, as the shell's folder
// browser and its handlers need it; a thread that already has COM keeps it.
class ComScope {
public:
    ComScope();
    ~ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    // Frees memory the shell allocated (an item list).
    static void freeMemory(void* memory);

private:
    bool initialised_ = false;
};
