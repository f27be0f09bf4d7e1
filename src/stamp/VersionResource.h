#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The version resource (VS_VERSIONINFO): the fixed part (VS_FIXEDFILEINFO)
// and the first string table of its StringFileInfo block, with the
// translations of its VarFileInfo block. Every block is a header (length,
// value length, type), a NUL-terminated UTF-16 key, the value and the
// children, each part starting on a 32-bit boundary.

using VersionNumber4 = std::array<std::uint16_t, 4>;

struct VersionInfo {
    VersionNumber4 fileVersion{};
    VersionNumber4 productVersion{};
    std::uint32_t fileFlagsMask = 0x3F;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOs = 0x40004;   // VOS_NT_WINDOWS32
    std::uint32_t fileType = 1;       // VFT_APP
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMs = 0;
    std::uint32_t fileDateLs = 0;
    std::u16string stringTableKey = u"040904b0";   // language and code page, in hex
    std::vector<std::pair<std::u16string, std::u16string>> strings;
    std::vector<std::uint32_t> translations{0x04B00409u};   // language in the low word, code page in the high

    // The value of a string; empty when it is not there.
    std::u16string value(const std::u16string& key) const;
    // Replaces a string's value, or appends the string.
    void set(const std::u16string& key, const std::u16string& text);
};

// The version resource in `data`; nothing when it is not one (wrong keys, a
// fixed part without its signature, blocks that overrun their parent).
std::optional<VersionInfo> parseVersionInfo(const std::uint8_t* data, std::size_t size);

// The bytes of a version resource; nothing when a text is too long for the
// 16-bit block lengths.
std::optional<std::vector<std::uint8_t>> buildVersionInfo(const VersionInfo& info);

// "1.2.3.4" from text of one to four numbers 0-65535 separated by dots
// (missing trailing numbers are 0); nothing for anything else.
std::optional<VersionNumber4> parseVersionNumber(const std::string& text);

// "1.2.3.4", as UTF-16 for the string table or as text for messages.
std::u16string versionText16(const VersionNumber4& version);
std::string versionText(const VersionNumber4& version);
