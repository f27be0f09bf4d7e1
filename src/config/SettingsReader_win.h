#pragma once
#include <windows.h>

#include <memory>

#include "config/IniFile_win.h"
#include "config/LauncherSettings.h"
#include "config/LayeredIniFile.h"
#include "util/Trace.h"

// Reads every setting of the start into `settings`. False ends the start: the
// configuration path cannot be formed, or "Main Class" is empty (its message
// is shown, owned by `owner`).
// The files read are traced, and each key found. `store` receives the store
// the settings were read from (the main file over the embedded text), for
// the keys that later steps read; it stays null when the configuration path
// cannot be formed.
bool readLauncherSettings(LauncherSettings& settings, HWND owner, const Trace& trace,
                          std::unique_ptr<LayeredIniFile>& store);
