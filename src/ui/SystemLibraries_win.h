#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "util/UniqueHandle_win.h"

// Functions of system libraries that only the runtime-not-found dialog and its
// link use. They are loaded on first use, from the system folder only, so that
// an ordinary start loads none of these libraries; a library stays loaded for
// the rest of the process. A function that cannot be found is null.

struct ShellFunctions {
    decltype(&::SHBrowseForFolderW) browseForFolder = nullptr;
    decltype(&::SHGetPathFromIDListW) pathFromIdList = nullptr;
    decltype(&::ShellExecuteW) execute = nullptr;
};
const ShellFunctions& shellFunctions();

struct RegistryFunctions {
    decltype(&::RegOpenKeyExW) openKey = nullptr;
    decltype(&::RegQueryValueExW) queryValue = nullptr;
    decltype(&::RegCloseKey) closeKey = nullptr;
};
const RegistryFunctions& registryFunctions();

// A registry key opened through registryFunctions(), closed the same way.
struct LoadedKeyTraits {
    using Pointer = HKEY;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer key) noexcept { registryFunctions().closeKey(key); }
};
using UniqueLoadedKey = UniqueAny<LoadedKeyTraits>;

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
