// The resource formats the stamp tool reads out of a launcher: a resource
// section (the first input byte even) or a version resource (odd). A
// section's RVA is the next four bytes.
#include <map>
#include <tuple>

#include "FuzzInput.h"
#include "stamp/ResourceTree.h"
#include "stamp/VersionResource.h"

namespace {

using Key = std::tuple<bool, std::uint16_t, std::u16string, bool, std::uint16_t, std::u16string, std::uint16_t>;

Key keyOf(const ResourceEntry& entry)
{
    return Key{entry.type.isText, entry.type.number, entry.type.text, entry.name.isText, entry.name.number,
               entry.name.text, entry.language};
}

// A section read back from the bytes built for its entries holds each
// (type, name, language) once, with the last datum given for it, and builds
// to the same bytes again.
void checkResourceSection(const std::uint8_t* data, std::size_t size)
{
    FuzzFields fields{data, size};
    // Below 2 GiB, so that a rebuilt section, which may be larger, still has
    // RVAs for all its data.
    const std::uint32_t rva = static_cast<std::uint32_t>(fields.take(4) & 0x7FFFFFFFu);
    std::string problem;
    const std::optional<std::vector<ResourceEntry>> entries = parseResourceSection(fields.data, fields.size, rva, problem);
    if (!entries) {
        fuzzCheck(!problem.empty());
        return;
    }
    // No more resources, data and names than the section holds: each entry
    // has a directory entry of 8 bytes, data is not shared, and names are
    // repeated within a bound.
    std::size_t dataBytes = 0;
    std::size_t textUnits = 0;
    std::map<Key, const ResourceEntry*> last;
    for (const ResourceEntry& entry : *entries) {
        dataBytes += entry.data.size();
        textUnits += entry.type.text.size() + entry.name.text.size();
        last[keyOf(entry)] = &entry;
    }
    fuzzCheck(entries->size() <= fields.size / 8 && dataBytes <= fields.size && textUnits <= 16 * fields.size);

    const std::vector<std::uint8_t> built = buildResourceSection(*entries, rva);
    const ExactBytes exact(built.data(), built.size());
    const std::optional<std::vector<ResourceEntry>> again = parseResourceSection(exact.data(), exact.size(), rva, problem);
    fuzzCheck(again.has_value() && again->size() == last.size());
    for (const ResourceEntry& entry : *again) {
        const auto found = last.find(keyOf(entry));
        fuzzCheck(found != last.end() && found->second->data == entry.data && found->second->codePage == entry.codePage);
    }
    fuzzCheck(buildResourceSection(*again, rva) == built);
}

bool sameInfo(const VersionInfo& a, const VersionInfo& b)
{
    return a.fileVersion == b.fileVersion && a.productVersion == b.productVersion &&
           a.fileFlagsMask == b.fileFlagsMask && a.fileFlags == b.fileFlags && a.fileOs == b.fileOs &&
           a.fileType == b.fileType && a.fileSubtype == b.fileSubtype && a.fileDateMs == b.fileDateMs &&
           a.fileDateLs == b.fileDateLs && a.stringTableKey == b.stringTableKey && a.strings == b.strings &&
           a.translations == b.translations;
}

// A version resource that reads, written again, reads back the same.
void checkVersionResource(const std::uint8_t* data, std::size_t size)
{
    const std::optional<VersionInfo> info = parseVersionInfo(data, size);
    if (!info) {
        return;
    }
    const std::optional<std::vector<std::uint8_t>> built = buildVersionInfo(*info);
    if (!built) {
        return;   // texts too long for 16-bit block lengths
    }
    const ExactBytes exact(built->data(), built->size());
    const std::optional<VersionInfo> again = parseVersionInfo(exact.data(), exact.size());
    fuzzCheck(again.has_value() && sameInfo(*again, *info));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    // The rest of the input as a buffer of its own, so a read past it is reported.
    const ExactBytes rest(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        checkResourceSection(rest.data(), rest.size());
    } else {
        checkVersionResource(rest.data(), rest.size());
    }
    return 0;
}
