#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The images of an icon file (.ico): a directory (ICONDIR, then one
// ICONDIRENTRY of 16 bytes per image) followed by the images themselves, each
// either a device-independent bitmap (BITMAPINFOHEADER, colours, mask) or a
// PNG file, stored in an executable exactly as they are.

struct IconImage {
    int width = 0;   // in pixels, 1 to 256
    int height = 0;
    std::uint8_t colorCount = 0;   // as the directory gives it (0: 256 or more colours)
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;    // bits per pixel, taken from the image when the directory leaves it 0
    bool isPng = false;
    std::vector<std::uint8_t> data;
};

// The images of an .ico file; nothing, and `problem` says why, when the data
// is not an icon file or its directory does not match what it describes
// (images outside the file, sizes the images contradict, an empty directory).
std::optional<std::vector<IconImage>> parseIconFile(const std::uint8_t* data, std::size_t size, std::string& problem);

// "16x16, 32x32, 256x256 PNG": the sizes of the images, for messages.
std::string describeIconImages(const std::vector<IconImage>& images);
