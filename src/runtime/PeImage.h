#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

// Reading the headers of a Windows executable image (PE file) from its bytes.
// Every offset read from the file is checked against the number of bytes
// given, so a truncated or crafted file yields "not an image", never a read
// outside the buffer.

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kSubsystemWindowsGui = 2;
constexpr std::uint16_t kSubsystemWindowsConsole = 3;

struct PeHeaders {
    std::uint16_t machine = 0;
    std::uint16_t subsystem = 0;    // 0 when the optional header is too short to hold it
    bool is64BitOptionalHeader = false;
};

// The DOS and NT headers: "MZ", an NT header offset inside the data, and the
// signature "PE\0\0" followed by a complete file header. Nothing otherwise.
std::optional<PeHeaders> readPeHeaders(const std::uint8_t* data, std::size_t size);
