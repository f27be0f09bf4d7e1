#include "instance/SharedBlock.h"

#include <cstring>

std::wstring sharedObjectName(const std::wstring& executablePath)
{
    std::wstring name = executablePath;
    for (wchar_t& c : name) {
        if (c == L'\\') {
            c = L'_';
        }
    }
    return name;
}

std::uint32_t readBlockUint32(const unsigned char* block, std::size_t offset)
{
    return static_cast<std::uint32_t>(block[offset]) | static_cast<std::uint32_t>(block[offset + 1]) << 8 |
           static_cast<std::uint32_t>(block[offset + 2]) << 16 | static_cast<std::uint32_t>(block[offset + 3]) << 24;
}

void writeBlockUint32(unsigned char* block, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        block[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

namespace {

std::uint16_t readUnit(const unsigned char* block, std::size_t offset)
{
    return static_cast<std::uint16_t>(block[offset] | block[offset + 1] << 8);
}

void writeUnit(unsigned char* block, std::size_t offset, std::uint16_t unit)
{
    block[offset] = static_cast<unsigned char>(unit);
    block[offset + 1] = static_cast<unsigned char>(unit >> 8);
}

} // namespace

bool packArguments(const std::vector<std::wstring>& arguments, unsigned char* block)
{
    // Summed with an early stop, so a huge list cannot wrap the count.
    std::size_t size = 2;
    for (const std::wstring& argument : arguments) {
        if (argument.size() > kArgumentListLimit) {
            return false;
        }
        size += 2 * argument.size() + 2;
        if (size > kArgumentListLimit) {
            return false;
        }
    }
    std::memset(block + kArgumentAreaOffset, 0, kArgumentListLimit);
    std::size_t offset = kArgumentAreaOffset;
    for (const std::wstring& argument : arguments) {
        for (wchar_t c : argument) {
            writeUnit(block, offset, static_cast<std::uint16_t>(c));
            offset += 2;
        }
        offset += 2;  // the terminating zero
    }
    return true;
}

std::vector<std::wstring> unpackArguments(const unsigned char* block)
{
    // The last character examined sits 4 bytes before the end, so the
    // look-ahead after it is the last unit of the block.
    constexpr std::size_t kLastExamined = kSharedBlockSize - 4;
    if (readUnit(block, kArgumentAreaOffset) == 0) {
        return {std::wstring()};
    }
    std::vector<std::wstring> list;
    std::wstring current;
    for (std::size_t offset = kArgumentAreaOffset; offset <= kLastExamined; offset += 2) {
        const std::uint16_t unit = readUnit(block, offset);
        if (unit != 0) {
            current += static_cast<wchar_t>(unit);
            continue;
        }
        list.push_back(current);
        current.clear();
        if (readUnit(block, offset + 2) == 0) {
            return list;
        }
    }
    return {};
}
