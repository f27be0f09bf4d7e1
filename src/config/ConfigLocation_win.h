#pragma once
#include <windows.h>

#include <string>

#include "config/LauncherSettings.h"

// The user's application-data folder: "APPDATA" when it is a full path of at
// most 259 characters, else the shell's roaming application-data folder;
// empty when neither is a full path.
std::wstring applicationDataFolder();

// The user's local (never roaming) application-data folder's
// "<product name>\<product code>\", created when missing; empty when there is
// no such folder, no product name or code, or it cannot be created.
std::wstring localProductFolder(const LauncherSettings& settings);

// The per-user configuration file of the executable at `executablePath`;
// empty when there is no application-data folder. With `createFolders` the
// product folder and below it the product-code folder are created (failures
// ignored); the application-data folder itself never is.
std::wstring perUserConfigPath(const std::wstring& executablePath, const LauncherSettings& settings,
                               bool createFolders);

// Remembers a runtime folder the user chose for the launcher at
// `executablePath`: "JRE Path" in section "Java Runtime Environment" of the
// main file (service applications, and the pair's main file) or of the
// per-user files of the launcher and its pair. Failures are ignored.
void writeRememberedJrePath(const std::wstring& executablePath, const LauncherSettings& settings,
                            const std::wstring& folder);
