#include "runtime/RuntimeProbe_win.h"

#include <windows.h>

#include "util/PeHeaders.h"
#include "util/UniqueHandle_win.h"

bool isX86Library(const std::wstring& path)
{
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) {
        return false;
    }
    UniqueHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) {
        return false;
    }
    UniqueMapView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) {
        return false;
    }
    const std::optional<PeHeaders> headers = readPeHeaders(static_cast<const std::uint8_t*>(view.get()),
                                                           static_cast<std::size_t>(size.QuadPart));
    return headers && headers->machine == kMachineI386;
}
