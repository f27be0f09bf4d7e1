#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "jvm/VmLaunch_win.h"

// Loads the JVM library at `path` and resolves its entry points. On failure
// the message is shown, owned by `owner`, and the result is empty. The
// library stays loaded for the life of the process.
std::optional<JvmEntryPoints> loadJvmLibrary(const std::wstring& path, HWND owner);
