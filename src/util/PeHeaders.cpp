#include "util/PeHeaders.h"

#include "util/ByteIo.h"

namespace {

constexpr std::size_t kNtHeaderOffsetField = 0x3C;
constexpr std::size_t kSignatureSize = 4;
constexpr std::size_t kFileHeaderSize = 20;
// Offsets in the file header.
constexpr std::size_t kNumberOfSections = 2;
constexpr std::size_t kSizeOfOptionalHeader = 16;
// Offset of the subsystem in the optional header, the same in PE32 and PE32+.
constexpr std::size_t kOptionalSubsystem = 68;

bool hasPeSignature(const std::uint8_t* at)
{
    return at[0] == 'P' && at[1] == 'E' && at[2] == 0 && at[3] == 0;
}

// Machine kind and subsystem from an optional header that holds them; the
// reads go through a copy of the reader, so a short optional header refuses
// nothing.
void readOptionalHeader(ByteReader reader, PeHeaderLayout& layout)
{
    const std::uint16_t magic = reader.u16(layout.optionalHeader);
    if (reader.ok && layout.optionalHeaderSize >= kOptionalSubsystem + 2) {
        layout.headers.is64BitOptionalHeader = magic == kOptionalMagic64;
        if (magic == kOptionalMagic32 || magic == kOptionalMagic64) {
            layout.headers.subsystem = reader.u16(layout.optionalHeader + kOptionalSubsystem);
        }
    }
}

} // namespace

std::optional<PeHeaderLayout> readPeHeaderLayout(const std::uint8_t* data, std::size_t size, PeHeaderFault& fault)
{
    ByteReader reader{data, size};
    if (!reader.has(0, 2) || data[0] != 'M' || data[1] != 'Z') {
        fault = PeHeaderFault::NoDosSignature;
        return std::nullopt;
    }
    const std::size_t nt = reader.u32(kNtHeaderOffsetField);
    if (!reader.has(nt, kSignatureSize + kFileHeaderSize)) {
        fault = PeHeaderFault::NtHeaderOutside;
        return std::nullopt;
    }
    if (!hasPeSignature(data + nt)) {
        fault = PeHeaderFault::NoPeSignature;
        return std::nullopt;
    }
    fault = PeHeaderFault::None;
    PeHeaderLayout layout;
    const std::size_t fileHeader = nt + kSignatureSize;
    layout.headers.machine = reader.u16(fileHeader);
    layout.sectionCount = reader.u16(fileHeader + kNumberOfSections);
    layout.optionalHeaderSize = reader.u16(fileHeader + kSizeOfOptionalHeader);
    layout.optionalHeader = fileHeader + kFileHeaderSize;
    layout.sectionTable = layout.optionalHeader + layout.optionalHeaderSize;
    readOptionalHeader(reader, layout);
    return layout;
}

std::optional<PeHeaders> readPeHeaders(const std::uint8_t* data, std::size_t size)
{
    PeHeaderFault fault = PeHeaderFault::None;
    const std::optional<PeHeaderLayout> layout = readPeHeaderLayout(data, size, fault);
    if (!layout) {
        return std::nullopt;
    }
    return layout->headers;
}
