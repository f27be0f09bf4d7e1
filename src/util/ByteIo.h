#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Little-endian reads and writes for the binary formats read from outside
// (PE headers, resource trees, icon files, version resources).

// Bounds-checked reads: `ok` turns false on the first read outside the data
// and stays false; a failed read returns 0.
struct ByteReader {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    bool ok = true;

    bool has(std::size_t offset, std::size_t length)
    {
        if (!ok || data == nullptr || offset > size || length > size - offset) {
            ok = false;
        }
        return ok;
    }
    std::uint8_t u8(std::size_t offset) { return has(offset, 1) ? data[offset] : 0; }
    std::uint16_t u16(std::size_t offset)
    {
        return has(offset, 2) ? static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8)) : 0;
    }
    std::uint32_t u32(std::size_t offset)
    {
        if (!has(offset, 4)) {
            return 0;
        }
        return static_cast<std::uint32_t>(data[offset]) | (static_cast<std::uint32_t>(data[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(data[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(data[offset + 3]) << 24);
    }
    // `count` UTF-16 units starting at `offset`.
    std::u16string utf16(std::size_t offset, std::size_t count)
    {
        std::u16string text;
        if (count > size / 2 || !has(offset, count * 2)) {
            ok = false;
            return text;
        }
        for (std::size_t i = 0; i < count; ++i) {
            text += static_cast<char16_t>(u16(offset + 2 * i));
        }
        return text;
    }
};

inline void appendU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Overwrites bytes that the caller has already made room for.
inline void storeU16(std::vector<std::uint8_t>& out, std::size_t offset, std::uint16_t value)
{
    out.at(offset) = static_cast<std::uint8_t>(value);
    out.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

inline void storeU32(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        out.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Appends zero bytes until the size is a multiple of `alignment` (a power of two).
inline void padTo(std::vector<std::uint8_t>& out, std::size_t alignment)
{
    while (out.size() % alignment != 0) {
        out.push_back(0);
    }
}

constexpr std::uint64_t alignUp(std::uint64_t value, std::uint64_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}
