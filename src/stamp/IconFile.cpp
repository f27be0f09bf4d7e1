#include "stamp/IconFile.h"

#include "util/ByteIo.h"

namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool startsWithPngSignature(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(kPngSignature)) {
        return false;
    }
    for (std::size_t i = 0; i < sizeof(kPngSignature); ++i) {
        if (data[i] != kPngSignature[i]) {
            return false;
        }
    }
    return true;
}

std::uint32_t bigEndian32(const std::uint8_t* data)
{
    return (static_cast<std::uint32_t>(data[0]) << 24) | (static_cast<std::uint32_t>(data[1]) << 16) |
           (static_cast<std::uint32_t>(data[2]) << 8) | static_cast<std::uint32_t>(data[3]);
}

// Checks the image's own header against the directory entry and fills in what
// the directory may leave 0. The image's size is what Windows trusts when it
// picks an icon, so a directory that disagrees with it is refused.
bool readImageHeader(IconImage& image, std::string& problem)
{
    const std::uint8_t* bytes = image.data.data();
    const std::size_t size = image.data.size();
    if (startsWithPngSignature(bytes, size)) {
        // The IHDR chunk comes first: length, "IHDR", width, height (big-endian).
        if (size < 24 || bytes[12] != 'I' || bytes[13] != 'H' || bytes[14] != 'D' || bytes[15] != 'R') {
            problem = "a PNG image without its header chunk";
            return false;
        }
        image.isPng = true;
        if (bigEndian32(bytes + 16) != static_cast<std::uint32_t>(image.width) ||
            bigEndian32(bytes + 20) != static_cast<std::uint32_t>(image.height)) {
            problem = "the directory gives " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                      " for a PNG image of " + std::to_string(bigEndian32(bytes + 16)) + "x" +
                      std::to_string(bigEndian32(bytes + 20));
            return false;
        }
        if (image.bitCount == 0) {
            image.bitCount = 32;
        }
        return true;
    }
    ByteReader reader{bytes, size};
    if (reader.u32(0) != kBitmapInfoHeaderSize || !reader.has(0, kBitmapInfoHeaderSize)) {
        problem = "an image that is neither a bitmap nor a PNG image";
        return false;
    }
    // The bitmap's height counts the colour rows and the mask rows.
    const std::int64_t width = static_cast<std::int32_t>(reader.u32(4));
    const std::int64_t height = static_cast<std::int32_t>(reader.u32(8));
    if (width != image.width || height != 2 * static_cast<std::int64_t>(image.height)) {
        problem = "the directory gives " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                  " for a bitmap of " + std::to_string(width) + "x" + std::to_string(height / 2);
        return false;
    }
    if (image.bitCount == 0) {
        image.bitCount = reader.u16(14);
    }
    return true;
}

} // namespace

std::optional<std::vector<IconImage>> parseIconFile(const std::uint8_t* data, std::size_t size, std::string& problem)
{
    ByteReader reader{data, size};
    const std::uint16_t reserved = reader.u16(0);
    const std::uint16_t type = reader.u16(2);
    const std::uint16_t count = reader.u16(4);
    if (!reader.ok || reserved != 0 || (type != 1 && type != 2)) {
        problem = "not an icon file (it does not start with an icon directory)";
        return std::nullopt;
    }
    if (type == 2) {
        problem = "a cursor file, not an icon file";
        return std::nullopt;
    }
    if (count == 0) {
        problem = "the icon directory lists no images";
        return std::nullopt;
    }
    const std::size_t directoryEnd = kDirectoryHeaderSize + count * kDirectoryEntrySize;
    if (directoryEnd > size) {
        problem = "the icon directory lists " + std::to_string(count) + " images but the file is too short to hold them";
        return std::nullopt;
    }
    std::vector<IconImage> images;
    // The images of a real icon file lie side by side. Entries that name the
    // same bytes over and over would have a small file copied into gigabytes.
    std::size_t imageBytes = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryHeaderSize + i * kDirectoryEntrySize;
        IconImage image;
        image.width = reader.u8(entry) == 0 ? 256 : reader.u8(entry);
        image.height = reader.u8(entry + 1) == 0 ? 256 : reader.u8(entry + 1);
        image.colorCount = reader.u8(entry + 2);
        image.planes = reader.u16(entry + 4) == 0 ? 1 : reader.u16(entry + 4);
        image.bitCount = reader.u16(entry + 6);
        const std::uint32_t length = reader.u32(entry + 8);
        const std::uint32_t offset = reader.u32(entry + 12);
        const std::string name = "image " + std::to_string(i + 1);
        if (length != 0 && offset < directoryEnd) {
            problem = name + " overlaps the icon directory (offset " + std::to_string(offset) + ")";
            return std::nullopt;
        }
        if (length == 0 || offset > size || length > size - offset) {
            problem = name + " lies outside the file (offset " + std::to_string(offset) + ", " +
                      std::to_string(length) + " bytes, file of " + std::to_string(size) + " bytes)";
            return std::nullopt;
        }
        imageBytes += length;
        if (imageBytes > size - directoryEnd) {
            problem = "the images claim more bytes than the icon file holds (they overlap)";
            return std::nullopt;
        }
        image.data.assign(data + offset, data + offset + length);
        std::string imageProblem;
        if (!readImageHeader(image, imageProblem)) {
            problem = name + ": " + imageProblem;
            return std::nullopt;
        }
        images.push_back(std::move(image));
    }
    return images;
}

std::string describeIconImages(const std::vector<IconImage>& images)
{
    std::string text;
    for (const IconImage& image : images) {
        if (!text.empty()) {
            text += ", ";
        }
        text += std::to_string(image.width) + "x" + std::to_string(image.height);
        text += image.isPng ? " PNG" : " " + std::to_string(image.bitCount) + "-bit";
    }
    return text;
}
