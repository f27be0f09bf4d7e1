#pragma once
#include <windows.h>

#include <string>

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

// Loads the library at `path` (made absolute) so that the libraries it
// imports are looked for in its own folder, in `importFolder` (none when
// empty) and in the system folder only: never in the current folder, beside
// the launcher or on "Path". Null when it cannot be loaded, with the thread's
// last error telling why.
HMODULE loadLibraryWithImportsFrom(const std::wstring& path, const std::wstring& importFolder);
