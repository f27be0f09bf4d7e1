#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The embedded settings text travels inside the executable as an RCDATA
// resource with this id, lightly enciphered so that it does not show up as
// plain text in the binary. It is obscured, not protected: anyone holding the
// executable can recover it.
//
// Layout of the resource (all integers little-endian):
//   bytes 0-3   the magic "ESv1" (0x45 0x53 0x76 0x31)
//   bytes 4-7   n, the length of the text in bytes
//   bytes 8-    n bytes: the settings text in UTF-8, each byte XORed with the
//               low byte of successive xorshift32 states; the state starts at
//               kEmbeddedSettingsSeed and is advanced (x ^= x << 13;
//               x ^= x >> 17; x ^= x << 5, in 32 bits) before each byte
//   then at most one byte of padding.
// The build writes it from a settings file (cmake/EmbedSettings.cmake, which
// also turns lone line feeds into "\r\n"); an executable built without one
// carries a resource with n = 0.
constexpr int kEmbeddedSettingsResourceId = 300;
constexpr std::uint32_t kEmbeddedSettingsSeed = 0x6D2B79F5u;

// The settings text held by a resource of the layout above; empty when the
// data is missing, too short, or does not start with the magic. Bytes that
// are no valid UTF-8 become U+FFFD.
std::wstring decodeEmbeddedSettings(const std::uint8_t* data, std::size_t size);

// The resource bytes holding a settings text given in UTF-8, in the layout
// above, as the build writes them: lone line feeds become "\r\n" before the
// text is enciphered, and one zero byte pads an odd length.
std::vector<std::uint8_t> encodeEmbeddedSettings(const std::uint8_t* utf8, std::size_t size);

// Wide text from UTF-8 (U+FFFD for every invalid sequence); on platforms with
// a 16-bit wchar_t, characters beyond U+FFFF become surrogate pairs.
std::wstring wideFromUtf8(const std::uint8_t* data, std::size_t size);
