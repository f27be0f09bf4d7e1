#include "runtime/RegistryReader_win.h"

#include <windows.h>

#include "util/Registry_win.h"
#include "util/UniqueHandle_win.h"

namespace {

// Room for a subkey name: the registry allows 255 characters; installers
// stay far below 520.
constexpr DWORD kSubkeyNameRoom = 520;

UniqueHKey openKey(const RegistryFunctions& registry, HKEY parent, const std::wstring& key, RegistryView view)
{
    const REGSAM access = KEY_READ | (view == RegistryView::Bits32 ? KEY_WOW64_32KEY : 0);
    HKEY opened = nullptr;
    if (registry.openKey(parent, key.c_str(), 0, access, &opened) != ERROR_SUCCESS) {
        return UniqueHKey();
    }
    return UniqueHKey(opened);
}

// The stored bytes of one value; nothing when it is missing, empty or
// unreadable. A value may change while it is read: a read is never trusted
// beyond the room it was given, and one that no longer fits fails.
std::optional<RegistryValue> readValue(const RegistryFunctions& registry, HKEY key, const std::wstring& name)
{
    RegistryValue value;
    DWORD type = 0;
    // Most values (folder names, numbers) fit the first buffer: one call.
    std::uint8_t first[1024];
    DWORD size = sizeof first;
    const LSTATUS status = registry.queryValue(key, name.c_str(), nullptr, &type, first, &size);
    if (status == ERROR_SUCCESS) {
        if (size == 0) {
            return std::nullopt;
        }
        value.type = type;
        value.bytes.assign(first, first + (size < sizeof first ? size : sizeof first));
        return value;
    }
    if (status != ERROR_MORE_DATA || size == 0) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    DWORD stored = size;
    if (registry.queryValue(key, name.c_str(), nullptr, &type, value.bytes.data(), &stored) != ERROR_SUCCESS ||
        stored == 0) {
        return std::nullopt;
    }
    value.type = type;
    value.bytes.resize(stored < size ? stored : size);
    return value;
}

} // namespace

std::optional<std::vector<RegistrySubkey>> Win32RegistryReader::readSubkeys(RegistryRoot root,
                                                                            const std::wstring& key,
                                                                            const std::wstring& tail,
                                                                            const std::vector<std::wstring>& valueNames,
                                                                            RegistryView view,
                                                                            const SubkeyFilter& wanted)
{
    const RegistryFunctions* registry = registryFunctions();
    if (registry == nullptr) {
        return std::nullopt;
    }
    const UniqueHKey parent =
        openKey(*registry, root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, key, view);
    if (!parent) {
        return std::nullopt;
    }
    std::vector<RegistrySubkey> subkeys;
    wchar_t name[kSubkeyNameRoom];
    for (DWORD index = 0;; ++index) {
        DWORD length = kSubkeyNameRoom;
        if (registry->enumKey(parent.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        RegistrySubkey subkey;
        subkey.name.assign(name, length < kSubkeyNameRoom ? length : kSubkeyNameRoom - 1);
        if (wanted && !wanted(subkey.name)) {
            continue;
        }
        const UniqueHKey opened = openKey(*registry, parent.get(), subkey.name + tail, view);
        for (const std::wstring& valueName : valueNames) {
            subkey.values.push_back(opened ? readValue(*registry, opened.get(), valueName) : std::nullopt);
        }
        subkeys.push_back(std::move(subkey));
    }
    return subkeys;
}
