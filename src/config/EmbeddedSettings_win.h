#pragma once
#include <windows.h>

#include <string>

// The embedded settings text carried by `module` (null: the running
// executable); empty when it carries none or the resource is damaged.
std::wstring loadEmbeddedSettingsText(HMODULE module = nullptr);
