#include "config/EmbeddedSettings_win.h"

#include <cstdint>

#include "config/EmbeddedSettings.h"

std::wstring loadEmbeddedSettingsText(HMODULE module)
{
    // Resource memory belongs to the module; nothing here needs freeing.
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(kEmbeddedSettingsResourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (resource == nullptr) {
        return std::wstring();
    }
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (loaded == nullptr || size == 0) {
        return std::wstring();
    }
    const void* data = ::LockResource(loaded);
    if (data == nullptr) {
        return std::wstring();
    }
    return decodeEmbeddedSettings(static_cast<const std::uint8_t*>(data), size);
}
