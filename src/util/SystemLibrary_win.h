#pragma once
#include <windows.h>

// Libraries the launcher loads on first use instead of importing them, so
// that a start that does not need them never loads them. Callers load each
// library once (util/OnceInit_win.h) and keep it loaded for the rest of the
// process.

// The library `name` (such as L"gdi32.dll") from the system folder only, never
// a planted copy of the same name beside the launcher; null when it cannot be
// loaded.
HMODULE loadSystemLibrary(const wchar_t* name);

// Sets `function` to the function `name` of `library`, typed as the pointer it
// is stored in; null when the library is null or lacks it. Whether it was found.
template <typename Function>
bool findFunction(HMODULE library, const char* name, Function& function)
{
    function = library != nullptr
                   ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)))
                   : nullptr;
    return function != nullptr;
}
