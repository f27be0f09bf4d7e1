// A registry value: bytes of any type and size, not necessarily ending in a
// NUL, read as text and as a number.
#include "FuzzInput.h"
#include "runtime/RegistryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // libFuzzer's buffer is exact: a read past the value is reported.
    const std::wstring text = registryValueText(data, size);
    // The units before the first NUL unit, or all whole units; an odd last
    // byte is no unit.
    fuzzCheck(text.size() <= size / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned unit = data[2 * i] | (data[2 * i + 1] << 8);
        fuzzCheck(unit != 0 && static_cast<unsigned>(text[i]) == unit);
    }
    if (text.size() < size / 2) {
        fuzzCheck(data[2 * text.size()] == 0 && data[2 * text.size() + 1] == 0);
    }

    // As a number: never negative; a DWORD or QWORD is its little-endian
    // value, a string its decimal digits (the same text as above).
    for (std::uint32_t type : {kRegistryString, kRegistryExpandString, kRegistryDword, kRegistryQword, 3u, 7u}) {
        const RegistryValue value{type, std::vector<std::uint8_t>(data, data + size)};
        const std::optional<std::int32_t> number = registryValueNumber(value);
        if (!number) {
            continue;
        }
        fuzzCheck(*number >= 0);
        if (type == kRegistryString || type == kRegistryExpandString) {
            fuzzCheck(std::stoll(text) == *number);
        } else {
            fuzzCheck(type == kRegistryDword || type == kRegistryQword);
            fuzzCheck((data[0] | (data[1] << 8) | (data[2] << 16)) == (*number & 0xFFFFFF));
        }
    }
    return 0;
}
