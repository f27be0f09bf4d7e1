#include "stamp/VersionResource.h"

#include "util/ByteIo.h"

namespace {

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BDu;
constexpr std::uint32_t kFixedInfoVersion = 0x00010000u;
constexpr std::size_t kFixedInfoSize = 52;
constexpr std::uint16_t kBinary = 0;
constexpr std::uint16_t kText = 1;

// One block as read: its key, its value bytes and its children's extent.
struct Block {
    std::u16string key;
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::size_t valueOffset = 0;
    std::size_t childrenOffset = 0;
    std::size_t end = 0;
};

std::optional<Block> readBlock(ByteReader& reader, std::size_t offset, std::size_t limit)
{
    Block block;
    const std::uint16_t length = reader.u16(offset);
    block.valueLength = reader.u16(offset + 2);
    block.type = reader.u16(offset + 4);
    if (!reader.ok || length < 6 || length > limit - offset) {
        return std::nullopt;
    }
    block.end = offset + length;
    std::size_t at = offset + 6;
    for (; at + 2 <= block.end && reader.u16(at) != 0; at += 2) {
        block.key += static_cast<char16_t>(reader.u16(at));
    }
    if (at + 2 > block.end) {
        return std::nullopt;
    }
    block.valueOffset = alignUp(at + 2, 4);
    if (block.valueOffset > block.end && block.valueLength == 0) {
        block.valueOffset = block.end;   // an empty value may end the block before its padding
    }
    // Text values count UTF-16 units, binary ones bytes; some writers count
    // text in bytes, so text is only bounded by its block.
    std::size_t valueBytes = block.type == kText ? 2u * block.valueLength : block.valueLength;
    if (block.valueOffset > block.end) {
        return std::nullopt;
    }
    if (valueBytes > block.end - block.valueOffset) {
        if (block.type != kText) {
            return std::nullopt;
        }
        valueBytes = block.end - block.valueOffset;
    }
    block.childrenOffset = alignUp(block.valueOffset + valueBytes, 4);
    return block;
}

// Calls `visit` for every child block of `parent`; false when one is damaged.
template <typename Visit>
bool forEachChild(ByteReader& reader, const Block& parent, Visit visit)
{
    for (std::size_t offset = parent.childrenOffset; offset + 6 <= parent.end; offset = alignUp(offset, 4)) {
        const std::optional<Block> child = readBlock(reader, offset, parent.end);
        if (!child || !visit(*child)) {
            return false;
        }
        offset = child->end;
    }
    return true;
}

std::u16string readText(ByteReader& reader, const Block& block)
{
    std::u16string text;
    for (std::size_t at = block.valueOffset; at + 2 <= block.end; at += 2) {
        const std::uint16_t unit = reader.u16(at);
        if (unit == 0) {
            break;
        }
        text += static_cast<char16_t>(unit);
    }
    return text;
}

// Writes one block: header, key, value, then what `children` appends, each
// part on a 32-bit boundary; false when the block exceeds 16-bit lengths.
template <typename Children>
bool appendBlock(std::vector<std::uint8_t>& out, const std::u16string& key, std::uint16_t type,
                 const std::vector<std::uint8_t>& value, std::uint16_t valueLength, Children children)
{
    padTo(out, 4);
    const std::size_t start = out.size();
    appendU16(out, 0);
    appendU16(out, valueLength);
    appendU16(out, type);
    for (char16_t unit : key) {
        appendU16(out, static_cast<std::uint16_t>(unit));
    }
    appendU16(out, 0);
    padTo(out, 4);
    out.insert(out.end(), value.begin(), value.end());
    if (!children(out)) {
        return false;
    }
    const std::size_t length = out.size() - start;
    if (length > 0xFFFF) {
        return false;
    }
    storeU16(out, start, static_cast<std::uint16_t>(length));
    return true;
}

std::uint32_t high(const VersionNumber4& v) { return (static_cast<std::uint32_t>(v[0]) << 16) | v[1]; }
std::uint32_t low(const VersionNumber4& v) { return (static_cast<std::uint32_t>(v[2]) << 16) | v[3]; }

} // namespace

std::u16string VersionInfo::value(const std::u16string& key) const
{
    for (const auto& item : strings) {
        if (item.first == key) {
            return item.second;
        }
    }
    return std::u16string();
}

void VersionInfo::set(const std::u16string& key, const std::u16string& text)
{
    for (auto& item : strings) {
        if (item.first == key) {
            item.second = text;
            return;
        }
    }
    strings.emplace_back(key, text);
}

std::optional<VersionInfo> parseVersionInfo(const std::uint8_t* data, std::size_t size)
{
    ByteReader reader{data, size};
    const std::optional<Block> root = readBlock(reader, 0, size);
    if (!root || root->key != u"VS_VERSION_INFO" || root->valueLength != kFixedInfoSize ||
        reader.u32(root->valueOffset) != kFixedInfoSignature) {
        return std::nullopt;
    }
    VersionInfo info;
    const std::size_t fixed = root->valueOffset;
    const std::uint32_t fileMs = reader.u32(fixed + 8);
    const std::uint32_t fileLs = reader.u32(fixed + 12);
    const std::uint32_t productMs = reader.u32(fixed + 16);
    const std::uint32_t productLs = reader.u32(fixed + 20);
    info.fileVersion = {static_cast<std::uint16_t>(fileMs >> 16), static_cast<std::uint16_t>(fileMs),
                        static_cast<std::uint16_t>(fileLs >> 16), static_cast<std::uint16_t>(fileLs)};
    info.productVersion = {static_cast<std::uint16_t>(productMs >> 16), static_cast<std::uint16_t>(productMs),
                           static_cast<std::uint16_t>(productLs >> 16), static_cast<std::uint16_t>(productLs)};
    info.fileFlagsMask = reader.u32(fixed + 24);
    info.fileFlags = reader.u32(fixed + 28);
    info.fileOs = reader.u32(fixed + 32);
    info.fileType = reader.u32(fixed + 36);
    info.fileSubtype = reader.u32(fixed + 40);
    info.fileDateMs = reader.u32(fixed + 44);
    info.fileDateLs = reader.u32(fixed + 48);
    info.translations.clear();
    bool sawTable = false;
    const bool ok = forEachChild(reader, *root, [&](const Block& part) {
        if (part.key == u"StringFileInfo") {
            return forEachChild(reader, part, [&](const Block& table) {
                if (sawTable) {
                    return true;   // only the first table is kept
                }
                sawTable = true;
                info.stringTableKey = table.key;
                return forEachChild(reader, table, [&](const Block& string) {
                    info.strings.emplace_back(string.key, readText(reader, string));
                    return true;
                });
            });
        }
        if (part.key == u"VarFileInfo") {
            return forEachChild(reader, part, [&](const Block& var) {
                for (std::size_t at = var.valueOffset; var.key == u"Translation" && at + 4 <= var.valueOffset + var.valueLength;
                     at += 4) {
                    info.translations.push_back(reader.u32(at));
                }
                return true;
            });
        }
        return true;
    });
    if (!ok || !reader.ok) {
        return std::nullopt;
    }
    return info;
}

std::optional<std::vector<std::uint8_t>> buildVersionInfo(const VersionInfo& info)
{
    std::vector<std::uint8_t> fixed;
    for (std::uint32_t value : {kFixedInfoSignature, kFixedInfoVersion, high(info.fileVersion), low(info.fileVersion),
                                high(info.productVersion), low(info.productVersion), info.fileFlagsMask, info.fileFlags,
                                info.fileOs, info.fileType, info.fileSubtype, info.fileDateMs, info.fileDateLs}) {
        appendU32(fixed, value);
    }
    std::vector<std::uint8_t> out;
    const bool ok = appendBlock(out, u"VS_VERSION_INFO", kBinary, fixed, kFixedInfoSize, [&](std::vector<std::uint8_t>& o) {
        const bool strings = appendBlock(o, u"StringFileInfo", kText, {}, 0, [&](std::vector<std::uint8_t>& files) {
            return appendBlock(files, info.stringTableKey, kText, {}, 0, [&](std::vector<std::uint8_t>& table) {
                for (const auto& item : info.strings) {
                    std::vector<std::uint8_t> value;
                    for (char16_t unit : item.second) {
                        appendU16(value, static_cast<std::uint16_t>(unit));
                    }
                    appendU16(value, 0);
                    const std::size_t units = item.second.size() + 1;
                    if (units > 0xFFFF ||
                        !appendBlock(table, item.first, kText, value, static_cast<std::uint16_t>(units),
                                     [](std::vector<std::uint8_t>&) { return true; })) {
                        return false;
                    }
                }
                return true;
            });
        });
        std::vector<std::uint8_t> translations;
        for (std::uint32_t translation : info.translations) {
            appendU32(translations, translation);
        }
        return strings && appendBlock(o, u"VarFileInfo", kText, {}, 0, [&](std::vector<std::uint8_t>& vars) {
                   return appendBlock(vars, u"Translation", kBinary, translations,
                                      static_cast<std::uint16_t>(translations.size()),
                                      [](std::vector<std::uint8_t>&) { return true; });
               });
    });
    if (!ok) {
        return std::nullopt;
    }
    return out;
}

std::optional<VersionNumber4> parseVersionNumber(const std::string& text)
{
    VersionNumber4 version{};
    std::size_t part = 0;
    std::size_t digits = 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '.') {
            if (digits == 0 || part == version.size()) {
                return std::nullopt;
            }
            version[part++] = static_cast<std::uint16_t>(value);
            digits = 0;
            value = 0;
        } else if (text[i] >= '0' && text[i] <= '9' && digits < 5) {
            value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
            ++digits;
            if (value > 0xFFFF) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return version;
}

std::string versionText(const VersionNumber4& version)
{
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) + "." +
           std::to_string(version[3]);
}

std::u16string versionText16(const VersionNumber4& version)
{
    const std::string text = versionText(version);
    return std::u16string(text.begin(), text.end());
}
