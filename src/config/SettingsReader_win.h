#pragma once
#include <windows.h>

#include "config/LauncherSettings.h"

// Reads every setting of the start into `settings`. False ends the start: the
// configuration path cannot be formed, or "Main Class" is empty (its message
// is shown, owned by `owner`).
bool readLauncherSettings(LauncherSettings& settings, HWND owner);
