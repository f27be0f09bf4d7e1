#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A link colour as the user's browser settings store it ("Anchor Color" and
// "Anchor Color Visited": "red,green,blue" in decimal).
struct LinkColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The most bytes a stored colour value may take, its final NUL included.
constexpr std::size_t kMaxLinkColourBytes = 24;

// Parses "red,green,blue": split at the first and the second comma, each part
// converted as a decimal integer (leading blanks and a sign accepted, stops at
// the first non-digit), the low 8 bits of each kept. Nothing when a comma is
// missing, the third part is empty, or the first or second part is -1.
std::optional<LinkColour> parseLinkColour(const std::wstring& text);

// The colour of a stored registry value: `isText` for the string types, the
// value's bytes (UTF-16LE) and their count. Nothing unless the value is text,
// at most kMaxLinkColourBytes long, ends with a NUL within those bytes, and
// parses.
std::optional<LinkColour> linkColourFromStoredValue(bool isText, const unsigned char* data, std::size_t size);
