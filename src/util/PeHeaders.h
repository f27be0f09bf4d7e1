#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

// Reading the headers of a Windows executable image (PE file) from its bytes,
// for the runtime probe and the stamp tool alike. Every offset read from the
// file is checked against the number of bytes given, so a truncated or
// crafted file yields "not an image", never a read outside the buffer.

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kSubsystemWindowsGui = 2;
constexpr std::uint16_t kSubsystemWindowsConsole = 3;
constexpr std::uint16_t kOptionalMagic32 = 0x10B;   // PE32
constexpr std::uint16_t kOptionalMagic64 = 0x20B;   // PE32+

struct PeHeaders {
    std::uint16_t machine = 0;
    std::uint16_t subsystem = 0;    // 0 when the optional header is too short to hold it
    bool is64BitOptionalHeader = false;
};

// Where the headers lie in the file, beside what they say.
struct PeHeaderLayout {
    PeHeaders headers;
    std::size_t sectionCount = 0;
    std::size_t optionalHeader = 0;       // file offset of the optional header
    std::size_t optionalHeaderSize = 0;   // as the file header states it
    std::size_t sectionTable = 0;         // file offset of the section table
};

// Which check a file failed on the way to its file header.
enum class PeHeaderFault { None, NoDosSignature, NtHeaderOutside, NoPeSignature };

// The DOS and NT headers: "MZ", an NT header offset inside the data, and the
// signature "PE\0\0" followed by a complete file header; `fault` says which
// of these is missing when the result is empty. The optional header is only
// looked at, never required.
std::optional<PeHeaderLayout> readPeHeaderLayout(const std::uint8_t* data, std::size_t size, PeHeaderFault& fault);

// The same headers without their places and without the reason for a refusal.
std::optional<PeHeaders> readPeHeaders(const std::uint8_t* data, std::size_t size);
