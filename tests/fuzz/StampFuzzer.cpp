// The stamp tool on a fuzzed executable and .ico pair: it refuses, or its
// copy reads back with the resources asked for and every other one kept.
// Input: a 32-bit little-endian length, that many bytes of executable, then
// the .ico file (none when nothing is left).
#include <map>
#include <tuple>

#include "FuzzInput.h"
#include "config/EmbeddedSettings.h"
#include "stamp/IconFile.h"
#include "stamp/LauncherStamp.h"
#include "stamp/PeResources.h"
#include "stamp/ResourceTree.h"
#include "util/PeHeaders.h"

namespace {

using Key = std::tuple<bool, std::uint16_t, std::u16string, bool, std::uint16_t, std::u16string, std::uint16_t>;

Key keyOf(const ResourceEntry& entry)
{
    return Key{entry.type.isText, entry.type.number, entry.type.text, entry.name.isText, entry.name.number,
               entry.name.text, entry.language};
}

std::optional<std::vector<ResourceEntry>> resourcesOf(const std::uint8_t* data, std::size_t size)
{
    std::string problem;
    const std::optional<PeResourceLayout> layout = readPeResourceLayout(data, size, problem);
    if (!layout) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> section = resourceSectionBytes(data, size, *layout);
    return parseResourceSection(section.data(), section.size(), layout->resourceRva, problem);
}

bool replacedByStamp(const ResourceEntry& entry)
{
    return entry.type.isNumber(kResourceIcon) || entry.type.isNumber(kResourceGroupIcon) ||
           entry.type.isNumber(kResourceVersion) ||
           (entry.type.isNumber(kResourceRcData) && entry.name.isNumber(kEmbeddedSettingsResourceId));
}

void checkIconGroup(const std::vector<ResourceEntry>& resources, const std::vector<IconImage>& images)
{
    const ResourceEntry* group = findResource(resources, kResourceGroupIcon, 1);
    fuzzCheck(group != nullptr && group->data.size() == 6 + 14 * images.size());
    const std::uint8_t* directory = group->data.data();
    fuzzCheck((directory[4] | (directory[5] << 8)) == static_cast<int>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::uint8_t* entry = directory + 6 + 14 * i;
        const ResourceEntry* icon = findResource(resources, kResourceIcon, static_cast<std::uint16_t>(entry[12] | (entry[13] << 8)));
        fuzzCheck(icon != nullptr && icon->data == images[i].data);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFields fields{data, size};
    const std::size_t claimed = static_cast<std::size_t>(fields.take(4));
    const std::size_t exeSize = claimed < fields.size ? claimed : fields.size;
    const ExactBytes exe(fields.data, exeSize);
    StampRequest request;
    if (exeSize < fields.size) {
        request.icon = std::vector<std::uint8_t>(fields.data + exeSize, fields.data + fields.size);
    }
    request.version = VersionNumber4{1, 2, 3, 4};
    request.productName = u"Fuzz";
    const std::string settings = "[Java Runtime Environment]\nMain Class=org.example.App\n";
    request.settings = std::vector<std::uint8_t>(settings.begin(), settings.end());
    request.outputName = u"Fuzz.exe";

    const StampOutcome outcome = stampLauncher(exe.data(), exe.size(), request);
    if (!outcome.ok) {
        fuzzCheck(!outcome.problem.empty() && outcome.image.empty());
        return 0;
    }
    // The copy is an x64 GUI or console image, as the input, whose resources read back.
    const ExactBytes image(outcome.image.data(), outcome.image.size());
    const std::optional<PeHeaders> headers = readPeHeaders(image.data(), image.size());
    fuzzCheck(headers && headers->machine == kMachineAmd64 &&
              headers->subsystem == readPeHeaders(exe.data(), exe.size())->subsystem &&
              (headers->subsystem == kSubsystemWindowsGui || headers->subsystem == kSubsystemWindowsConsole));
    const std::optional<std::vector<ResourceEntry>> after = resourcesOf(image.data(), image.size());
    fuzzCheck(after.has_value());

    const ResourceEntry* stored = findResource(*after, kResourceRcData, kEmbeddedSettingsResourceId);
    fuzzCheck(stored != nullptr && decodeEmbeddedSettings(stored->data.data(), stored->data.size()) ==
                                       L"[Java Runtime Environment]\r\nMain Class=org.example.App\r\n");
    const ResourceEntry* version = findResource(*after, kResourceVersion, 1);
    fuzzCheck(version != nullptr);
    const std::optional<VersionInfo> info = parseVersionInfo(version->data.data(), version->data.size());
    fuzzCheck(info && info->fileVersion == (VersionNumber4{1, 2, 3, 4}) && info->value(u"ProductName") == u"Fuzz");
    if (request.icon) {
        std::string problem;
        checkIconGroup(*after, *parseIconFile(request.icon->data(), request.icon->size(), problem));
    }

    // Every resource the stamp does not replace is kept byte for byte (the
    // last one of a repeated type, name and language).
    const std::optional<std::vector<ResourceEntry>> before = resourcesOf(exe.data(), exe.size());
    fuzzCheck(before.has_value());
    std::map<Key, const ResourceEntry*> kept;
    for (const ResourceEntry& entry : *before) {
        if (!replacedByStamp(entry)) {
            kept[keyOf(entry)] = &entry;
        }
    }
    for (const ResourceEntry& entry : *after) {
        const auto found = kept.find(keyOf(entry));
        if (found != kept.end()) {
            fuzzCheck(found->second->data == entry.data);
            kept.erase(found);
        }
    }
    fuzzCheck(kept.empty());

    // Stamping the copy the same way changes nothing.
    const StampOutcome again = stampLauncher(image.data(), image.size(), request);
    fuzzCheck(again.ok && again.image == outcome.image);
    return 0;
}
