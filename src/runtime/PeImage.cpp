#include "runtime/PeImage.h"

#include "util/ByteIo.h"

namespace {

using Reader = ByteReader;

constexpr std::size_t kNtHeaderOffsetField = 0x3C;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::uint16_t kOptionalMagic32 = 0x10B;
constexpr std::uint16_t kOptionalMagic64 = 0x20B;

struct Layout {
    PeHeaders headers;
    std::size_t optionalHeader = 0;
    std::size_t optionalHeaderSize = 0;
};

std::optional<Layout> readLayout(Reader& reader)
{
    if (!reader.has(0, 2) || reader.data[0] != 'M' || reader.data[1] != 'Z') {
        return std::nullopt;
    }
    const std::size_t nt = reader.u32(kNtHeaderOffsetField);
    if (!reader.has(nt, 4 + kFileHeaderSize)) {
        return std::nullopt;
    }
    if (reader.data[nt] != 'P' || reader.data[nt + 1] != 'E' || reader.data[nt + 2] != 0 || reader.data[nt + 3] != 0) {
        return std::nullopt;
    }
    Layout layout;
    const std::size_t fileHeader = nt + 4;
    layout.headers.machine = reader.u16(fileHeader);
    layout.optionalHeaderSize = reader.u16(fileHeader + 16);
    layout.optionalHeader = fileHeader + kFileHeaderSize;

    Reader probe = reader;
    const std::uint16_t magic = probe.u16(layout.optionalHeader);
    if (probe.ok && layout.optionalHeaderSize >= 70) {
        layout.headers.is64BitOptionalHeader = magic == kOptionalMagic64;
        if (magic == kOptionalMagic32 || magic == kOptionalMagic64) {
            layout.headers.subsystem = probe.u16(layout.optionalHeader + 68);
        }
    }
    return layout;
}

} // namespace

std::optional<PeHeaders> readPeHeaders(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr) {
        return std::nullopt;
    }
    Reader reader{data, size};
    const std::optional<Layout> layout = readLayout(reader);
    if (!layout) {
        return std::nullopt;
    }
    return layout->headers;
}
