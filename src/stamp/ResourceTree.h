#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The resources of an executable as a flat list of (type, name, language)
// entries with their data, read from and written to the three-level
// directory tree of a resource section (IMAGE_RESOURCE_DIRECTORY, its
// entries, IMAGE_RESOURCE_DATA_ENTRY).

constexpr std::uint16_t kResourceIcon = 3;
constexpr std::uint16_t kResourceString = 6;
constexpr std::uint16_t kResourceRcData = 10;
constexpr std::uint16_t kResourceGroupIcon = 14;
constexpr std::uint16_t kResourceVersion = 16;
constexpr std::uint16_t kResourceManifest = 24;

// A resource type or name: a number, or a text when `isText`.
struct ResourceId {
    bool isText = false;
    std::uint16_t number = 0;
    std::u16string text;

    static ResourceId fromNumber(std::uint16_t value) { return ResourceId{false, value, std::u16string()}; }
    bool isNumber(std::uint16_t value) const { return !isText && number == value; }
};

// The order of a directory: texts first (by their UTF-16 units), then numbers
// ascending, as the loader's binary search expects.
bool operator<(const ResourceId& a, const ResourceId& b);
bool operator==(const ResourceId& a, const ResourceId& b);

struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    std::vector<std::uint8_t> data;
};

// The entries of a resource section whose bytes are `section` (the section's
// start, where the root directory lies) loaded at `sectionRva`. Every
// directory, name and datum must lie within those bytes; nothing, and
// `problem` says why, otherwise or when the tree is not three levels deep.
std::optional<std::vector<ResourceEntry>> parseResourceSection(const std::uint8_t* section, std::size_t size,
                                                               std::uint32_t sectionRva, std::string& problem);

// The bytes of a resource section holding `entries`, for loading at
// `sectionRva`: directories in the order above, then the data entries, the
// names and the data (each datum 8-byte aligned).
std::vector<std::uint8_t> buildResourceSection(const std::vector<ResourceEntry>& entries, std::uint32_t sectionRva);

// The first entry of the given numeric type and name (any language); null when none.
const ResourceEntry* findResource(const std::vector<ResourceEntry>& entries, std::uint16_t type, std::uint16_t name);
