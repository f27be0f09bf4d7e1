#include "runtime/RegistryReader.h"

std::wstring registryValueText(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    if (data == nullptr) {
        return text;
    }
    for (std::size_t offset = 0; offset + 1 < size; offset += 2) {
        const wchar_t unit = static_cast<wchar_t>(data[offset] | (data[offset + 1] << 8));
        if (unit == L'\0') {
            break;
        }
        text += unit;
    }
    return text;
}
