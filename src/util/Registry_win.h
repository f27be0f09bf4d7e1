#pragma once
#include <windows.h>

// The registry functions of advapi32. The launcher does not import advapi32:
// most starts never read the registry, so it is loaded on first use, from the
// system folder only (never a planted copy beside the launcher), and stays
// loaded.
struct RegistryFunctions {
    decltype(&::RegOpenKeyExW) openKey = nullptr;
    decltype(&::RegEnumKeyExW) enumKey = nullptr;
    decltype(&::RegQueryValueExW) queryValue = nullptr;
    decltype(&::RegCloseKey) closeKey = nullptr;
};

// The loaded functions; null when advapi32 or one of them cannot be found.
const RegistryFunctions* registryFunctions();
