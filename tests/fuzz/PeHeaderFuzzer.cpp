// The PE header reader on any file that claims to be a jvm.dll: truncated,
// crafted, or no executable at all.
#include "FuzzInput.h"
#include "util/PeHeaders.h"

namespace {

std::uint32_t littleEndian32(const std::uint8_t* data)
{
    return static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
           (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<PeHeaders> headers = readPeHeaders(data, size);
    if (!headers) {
        return 0;
    }
    // Accepted only with "MZ", an NT header offset and "PE\0\0" plus the file
    // header inside the data; the machine is the file header's first field.
    fuzzCheck(size >= 0x40 && data[0] == 'M' && data[1] == 'Z');
    const std::size_t nt = littleEndian32(data + 0x3C);
    fuzzCheck(nt < size && nt + 24 <= size);
    fuzzCheck(data[nt] == 'P' && data[nt + 1] == 'E' && data[nt + 2] == 0 && data[nt + 3] == 0);
    fuzzCheck(headers->machine == (data[nt + 4] | (data[nt + 5] << 8)));
    // A subsystem is only read from an optional header that holds it.
    const std::size_t optionalSize = data[nt + 20] | (data[nt + 21] << 8);
    if (headers->subsystem != 0) {
        fuzzCheck(optionalSize >= 70 && nt + 24 + 70 <= size);
    }

    // The headers alone (and the offset field, which an NT header may
    // overlap) are enough for the machine, one byte less is not. The copies
    // are exact, so a read past either end is reported.
    const std::size_t headersEnd = nt + 24 > 0x40 ? nt + 24 : 0x40;
    const ExactBytes complete(data, headersEnd);
    const std::optional<PeHeaders> fromHeaders = readPeHeaders(complete.data(), complete.size());
    fuzzCheck(fromHeaders.has_value() && fromHeaders->machine == headers->machine);
    const ExactBytes truncated(data, headersEnd - 1);
    fuzzCheck(!readPeHeaders(truncated.data(), truncated.size()).has_value());
    return 0;
}
