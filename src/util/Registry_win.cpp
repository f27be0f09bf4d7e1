#include "util/Registry_win.h"

#include "util/OnceInit_win.h"
#include "util/SystemLibrary_win.h"

const RegistryFunctions* registryFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return loadOnce<const RegistryFunctions>(once, []() -> const RegistryFunctions* {
        static RegistryFunctions loaded;
        const HMODULE library = loadSystemLibrary(L"advapi32.dll");
        const bool complete = findFunction(library, "RegOpenKeyExW", loaded.openKey) &&
                              findFunction(library, "RegEnumKeyExW", loaded.enumKey) &&
                              findFunction(library, "RegQueryValueExW", loaded.queryValue) &&
                              findFunction(library, "RegCloseKey", loaded.closeKey);
        return complete ? &loaded : nullptr;
    });
}
