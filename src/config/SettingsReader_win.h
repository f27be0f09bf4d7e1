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
// The files read are traced, and each key found.
bool readLauncherSettings(LauncherSettings& settings, HWND owner, const Trace& trace = Trace());

// A plain store on the main configuration file, for readers of keys that the
// embedded text cannot give ("Display"). Null when the path cannot be formed
// (a failing module path shows its message, owned by `owner`).
std::unique_ptr<IniFile> openMainConfigFile(HWND owner);

// A fresh layered store (main configuration file over the embedded settings
// text) for readers that run after initialisation. Null as above.
std::unique_ptr<LayeredIniFile> openLayeredConfig(HWND owner);
