#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Fuzzer bytes as the launcher meets text: UTF-16 code units, little-endian,
// two bytes each (a last odd byte is dropped). Every unit value can occur,
// lone surrogates and NUL included.
inline std::wstring wideFromFuzzBytes(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    }
    return text;
}

// Stops the run loudly when an invariant breaks (also in builds without
// assertions).
inline void fuzzCheck(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}
