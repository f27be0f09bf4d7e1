#include "util/Registry_win.h"

#include "util/OnceInit_win.h"

namespace {

template <typename Function>
bool resolve(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    return function != nullptr;
}

} // namespace

const RegistryFunctions* registryFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return loadOnce<const RegistryFunctions>(once, []() -> const RegistryFunctions* {
        static RegistryFunctions loaded;
        HMODULE library = ::LoadLibraryExW(L"advapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library == nullptr) {
            return nullptr;
        }
        const bool complete = resolve(library, "RegOpenKeyExW", loaded.openKey) &&
                              resolve(library, "RegEnumKeyExW", loaded.enumKey) &&
                              resolve(library, "RegQueryValueExW", loaded.queryValue) &&
                              resolve(library, "RegCloseKey", loaded.closeKey);
        return complete ? &loaded : nullptr;
    });
}
