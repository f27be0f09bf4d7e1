// The .ico file a deployer hands to the stamp tool.
#include "FuzzInput.h"
#include "stamp/IconFile.h"

namespace {

std::uint32_t littleEndian32(const std::uint8_t* data)
{
    return static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
           (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
}

void appendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// The images written again as a compact icon file.
std::vector<std::uint8_t> iconFileOf(const std::vector<IconImage>& images)
{
    std::vector<std::uint8_t> file;
    appendLittleEndian(file, 0, 2);
    appendLittleEndian(file, 1, 2);
    appendLittleEndian(file, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        file.push_back(static_cast<std::uint8_t>(image.width == 256 ? 0 : image.width));
        file.push_back(static_cast<std::uint8_t>(image.height == 256 ? 0 : image.height));
        file.push_back(image.colorCount);
        file.push_back(0);
        appendLittleEndian(file, image.planes, 2);
        appendLittleEndian(file, image.bitCount, 2);
        appendLittleEndian(file, static_cast<std::uint32_t>(image.data.size()), 4);
        appendLittleEndian(file, offset, 4);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (const IconImage& image : images) {
        file.insert(file.end(), image.data.begin(), image.data.end());
    }
    return file;
}

bool sameImage(const IconImage& a, const IconImage& b)
{
    return a.width == b.width && a.height == b.height && a.colorCount == b.colorCount && a.planes == b.planes &&
           a.bitCount == b.bitCount && a.isPng == b.isPng && a.data == b.data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string problem;
    const std::optional<std::vector<IconImage>> images = parseIconFile(data, size, problem);
    if (!images) {
        fuzzCheck(!problem.empty());
        return 0;
    }
    // Every image is the bytes its directory entry names, inside the file,
    // of the size the directory gives; together no more than the file holds.
    const std::size_t count = data[4] | (data[5] << 8);
    fuzzCheck(count != 0 && images->size() == count && 6 + 16 * count <= size);
    std::size_t imageBytes = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = data + 6 + 16 * i;
        const IconImage& image = (*images)[i];
        const std::size_t length = littleEndian32(entry + 8);
        const std::size_t offset = littleEndian32(entry + 12);
        fuzzCheck(length != 0 && offset >= 6 + 16 * count && offset + length <= size);
        fuzzCheck(image.data == std::vector<std::uint8_t>(data + offset, data + offset + length));
        imageBytes += length;
        fuzzCheck(image.width == (entry[0] == 0 ? 256 : entry[0]) && image.height == (entry[1] == 0 ? 256 : entry[1]));
        fuzzCheck(image.isPng || (length >= 40 && littleEndian32(image.data.data()) == 40));
    }
    fuzzCheck(imageBytes <= size - (6 + 16 * count));
    fuzzCheck(!describeIconImages(*images).empty());

    // Written again compactly, the images read back the same.
    const std::vector<std::uint8_t> rewritten = iconFileOf(*images);
    const ExactBytes exact(rewritten.data(), rewritten.size());
    const std::optional<std::vector<IconImage>> again = parseIconFile(exact.data(), exact.size(), problem);
    fuzzCheck(again.has_value() && again->size() == count);
    for (std::size_t i = 0; i < count; ++i) {
        fuzzCheck(sameImage((*again)[i], (*images)[i]));
    }
    return 0;
}
