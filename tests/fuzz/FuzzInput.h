#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
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

// A copy of the bytes in an allocation of exactly their size, so that the
// address sanitizer reports a read one byte past them (libFuzzer's own buffer
// is exact too, but a prefix of it is not).
class ExactBytes {
public:
    ExactBytes(const std::uint8_t* data, std::size_t size)
        : size_(size), bytes_(std::make_unique<std::uint8_t[]>(size == 0 ? 1 : size))
    {
        std::copy(data, data + size, bytes_.get());
    }

    const std::uint8_t* data() const { return bytes_.get(); }
    std::uint8_t* data() { return bytes_.get(); }
    std::size_t size() const { return size_; }

private:
    std::size_t size_;
    std::unique_ptr<std::uint8_t[]> bytes_;
};

// Takes fixed-size little-endian fields off the front of the fuzzer bytes; a
// field beyond the end reads as zero bytes.
struct FuzzFields {
    const std::uint8_t* data;
    std::size_t size;

    std::uint64_t take(std::size_t bytes)
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            if (size > 0) {
                value |= static_cast<std::uint64_t>(*data) << (8 * i);
                ++data;
                --size;
            }
        }
        return value;
    }
};
