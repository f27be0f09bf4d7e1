#include "util/PeHeaders.h"

#include "util/ByteIo.h"

namespace {

// Where the fields read here lie, and the sizes of what comes before them.
enum HeaderPlace : std::size_t {
    kNtHeaderOffsetField = 0x3C,   // in the DOS header
    kSignatureSize = 4,            // "PE\0\0", before the file header
    kFileHeaderSize = 20,
    kNumberOfSections = 2,         // in the file header
    kSizeOfOptionalHeader = 16,    // in the file header
    kOptionalSubsystem = 68,       // in the optional header, PE32 and PE32+ alike
};

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
