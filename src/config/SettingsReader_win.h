#pragma once
#include <memory>

#include "config/IniFile_win.h"
#include "config/LauncherSettings.h"
#include "config/LayeredIniFile.h"
#include "util/Failure.h"
#include "util/Trace.h"

// Reads every setting of the start into `settings`, for the launcher at
// `executablePath`. Fails when the configuration path cannot be formed (no
// message) or "Main Class" is empty.
// The files read are traced, and each key found. `store` receives the store
// the settings were read from (the main file over the embedded text), for
// the keys that later steps read; it stays null when the configuration path
// cannot be formed.
Expected<void> readLauncherSettings(LauncherSettings& settings, const std::wstring& executablePath, const Trace& trace,
                                    std::unique_ptr<LayeredIniFile>& store);
