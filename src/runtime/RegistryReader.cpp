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

std::optional<std::int32_t> registryValueNumber(const RegistryValue& value)
{
    const std::vector<std::uint8_t>& bytes = value.bytes;
    if ((value.type == kRegistryDword && bytes.size() >= 4) || (value.type == kRegistryQword && bytes.size() >= 8)) {
        std::uint64_t number = 0;
        const std::size_t width = value.type == kRegistryDword ? 4 : 8;
        for (std::size_t i = width; i > 0; --i) {
            number = (number << 8) | bytes[i - 1];
        }
        if (number > 0x7FFFFFFFu) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(number);
    }
    if (value.type != kRegistryString && value.type != kRegistryExpandString) {
        return std::nullopt;
    }
    const std::wstring text = registryValueText(bytes.data(), bytes.size());
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    std::int32_t number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<std::int32_t>(c - L'0');
    }
    return number;
}
