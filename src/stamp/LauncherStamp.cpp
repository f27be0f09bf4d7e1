#include "stamp/LauncherStamp.h"

#include <algorithm>
#include <set>

#include "config/EmbeddedSettings.h"
#include "util/ByteIo.h"
#include "stamp/IconFile.h"
#include "stamp/PeResources.h"
#include "stamp/ResourceTree.h"
#include "stamp/StampText.h"
#include "util/PeHeaders.h"

namespace {

constexpr std::uint16_t kIconGroupId = 1;
constexpr std::uint16_t kVersionId = 1;
constexpr std::uint16_t kManifestId = 1;
constexpr std::uint16_t kEnglishUs = 0x409;
constexpr std::uint16_t kMarkerStringId = 214;
constexpr const char16_t* kMarkerString = u"Browse for JRE folder";
constexpr std::size_t kMaxSectionSize = 1u << 30;
constexpr std::size_t kMaxIconImages = 1024;   // keeps the icon ids well inside 16 bits

StampOutcome refuse(StampInput input, std::string problem)
{
    StampOutcome outcome;
    outcome.input = input;
    outcome.problem = std::move(problem);
    return outcome;
}

// String `id` of the string table: block id / 16 + 1 holds 16 counted strings.
std::optional<std::u16string> tableString(const std::vector<ResourceEntry>& entries, std::uint16_t id)
{
    const ResourceEntry* block = findResource(entries, kResourceString, static_cast<std::uint16_t>(id / 16 + 1));
    if (block == nullptr) {
        return std::nullopt;
    }
    ByteReader reader{block->data.data(), block->data.size()};
    std::size_t offset = 0;
    for (std::size_t index = 0; index < id % 16; ++index) {
        offset += 2 + 2 * static_cast<std::size_t>(reader.u16(offset));
    }
    const std::u16string text = reader.utf16(offset + 2, reader.u16(offset));
    return reader.ok ? std::optional<std::u16string>(text) : std::nullopt;
}

// The launcher decides between its windowed and its console behaviour from
// this field, so both values are a launcher; any other is some other program.
bool isLauncherSubsystem(std::uint16_t subsystem)
{
    return subsystem == kSubsystemWindowsGui || subsystem == kSubsystemWindowsConsole;
}

// What is missing for the image to count as a launcher of this project; empty when nothing.
std::string missingLauncherMark(const std::vector<ResourceEntry>& entries)
{
    const ResourceEntry* settings = findResource(entries, kResourceRcData, kEmbeddedSettingsResourceId);
    ByteReader reader{settings ? settings->data.data() : nullptr, settings ? settings->data.size() : 0};
    if (settings == nullptr || !reader.has(0, 8) || std::string(settings->data.begin(), settings->data.begin() + 4) != "ESv1" ||
        reader.u32(4) > settings->data.size() - 8) {
        return "no embedded settings resource (RCDATA 300 starting with \"ESv1\")";
    }
    if (tableString(entries, kMarkerStringId) != std::u16string(kMarkerString)) {
        return "no string 214 \"Browse for JRE folder\" in its string table";
    }
    if (findResource(entries, kResourceGroupIcon, kIconGroupId) == nullptr) {
        return "no icon group 1";
    }
    const ResourceEntry* version = findResource(entries, kResourceVersion, kVersionId);
    if (version == nullptr || !parseVersionInfo(version->data.data(), version->data.size())) {
        return "no readable version resource 1";
    }
    return std::string();
}

void replaceData(std::vector<ResourceEntry>& entries, std::uint16_t type, std::uint16_t name,
                 const std::vector<std::uint8_t>& data)
{
    bool found = false;
    for (ResourceEntry& entry : entries) {
        if (entry.type.isNumber(type) && entry.name.isNumber(name)) {
            entry.data = data;
            found = true;
        }
    }
    if (!found) {
        entries.push_back(ResourceEntry{ResourceId::fromNumber(type), ResourceId::fromNumber(name), kEnglishUs, 0, data});
    }
}

// Replaces icon group 1 and the icons it lists with the images of an .ico file.
bool replaceIcon(std::vector<ResourceEntry>& entries, const std::vector<IconImage>& images, std::string& problem)
{
    const ResourceEntry* group = findResource(entries, kResourceGroupIcon, kIconGroupId);
    ByteReader reader{group->data.data(), group->data.size()};
    const std::size_t count = reader.u16(4);
    std::set<std::uint16_t> oldIcons;
    for (std::size_t i = 0; i < count; ++i) {
        oldIcons.insert(reader.u16(6 + 14 * i + 12));   // GRPICONDIRENTRY: 12 bytes, then the icon id
    }
    if (!reader.ok) {
        problem = "its icon group 1 is damaged";
        return false;
    }
    const std::uint16_t language = group->language;
    const std::uint32_t codePage = group->codePage;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const ResourceEntry& entry) {
                                     return entry.type.isNumber(kResourceGroupIcon) ? entry.name.isNumber(kIconGroupId)
                                            : entry.type.isNumber(kResourceIcon)
                                                ? !entry.name.isText && oldIcons.count(entry.name.number) != 0
                                                : false;
                                 }),
                  entries.end());
    std::set<std::uint16_t> used;
    for (const ResourceEntry& entry : entries) {
        if (entry.type.isNumber(kResourceIcon) && !entry.name.isText) {
            used.insert(entry.name.number);
        }
    }
    std::vector<std::uint8_t> directory;
    appendU16(directory, 0);
    appendU16(directory, 1);
    appendU16(directory, static_cast<std::uint16_t>(images.size()));
    std::uint16_t id = 1;
    for (const IconImage& image : images) {
        while (used.count(id) != 0) {
            ++id;
        }
        used.insert(id);
        directory.push_back(static_cast<std::uint8_t>(image.width == 256 ? 0 : image.width));
        directory.push_back(static_cast<std::uint8_t>(image.height == 256 ? 0 : image.height));
        directory.push_back(image.colorCount);
        directory.push_back(0);
        appendU16(directory, image.planes);
        appendU16(directory, image.bitCount);
        appendU32(directory, static_cast<std::uint32_t>(image.data.size()));
        appendU16(directory, id);
        entries.push_back(ResourceEntry{ResourceId::fromNumber(kResourceIcon), ResourceId::fromNumber(id), language,
                                        codePage, image.data});
    }
    entries.push_back(ResourceEntry{ResourceId::fromNumber(kResourceGroupIcon), ResourceId::fromNumber(kIconGroupId),
                                    language, codePage, directory});
    return true;
}

bool replaceVersion(std::vector<ResourceEntry>& entries, const StampRequest& request, std::vector<std::string>& stamped)
{
    const ResourceEntry* resource = findResource(entries, kResourceVersion, kVersionId);
    VersionInfo info = *parseVersionInfo(resource->data.data(), resource->data.size());
    if (request.version) {
        info.fileVersion = *request.version;
        info.productVersion = *request.version;
        info.set(u"FileVersion", versionText16(*request.version));
        info.set(u"ProductVersion", versionText16(*request.version));
        stamped.push_back("version: " + versionText(*request.version));
    }
    const std::optional<std::u16string> description = request.description ? request.description : request.productName;
    struct TextField {
        const char* label;
        const char16_t* key;
        const std::optional<std::u16string>& value;
    };
    const TextField texts[] = {
        {"company", u"CompanyName", request.company},
        {"description", u"FileDescription", description},
        {"product name", u"ProductName", request.productName},
        {"copyright", u"LegalCopyright", request.copyright},
    };
    for (const TextField& text : texts) {
        if (text.value) {
            info.set(text.key, *text.value);
            stamped.push_back(std::string(text.label) + ": " + utf8FromUtf16(*text.value));
        }
    }
    if (!request.outputName.empty()) {
        const std::size_t dot = request.outputName.rfind(u'.');
        info.set(u"InternalName", request.outputName.substr(0, dot));
        info.set(u"OriginalFilename", request.outputName);
        stamped.push_back("file name: " + utf8FromUtf16(request.outputName));
    }
    const std::optional<std::vector<std::uint8_t>> bytes = buildVersionInfo(info);
    if (!bytes) {
        return false;
    }
    replaceData(entries, kResourceVersion, kVersionId, *bytes);
    return true;
}

} // namespace

std::string textProblem(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        return "UTF-16 text; save it as UTF-8";
    }
    if (std::find(bytes.begin(), bytes.end(), 0) != bytes.end()) {
        return "not text (it holds NUL bytes)";
    }
    // Valid UTF-8 is exactly what survives the round trip through UTF-16.
    const std::string text(bytes.begin(), bytes.end());
    if (utf8FromUtf16(utf16FromUtf8(text)) != text) {
        return "not UTF-8 text";
    }
    return std::string();
}

StampOutcome stampLauncher(const std::uint8_t* data, std::size_t size, const StampRequest& request)
{
    std::string problem;
    const std::optional<PeResourceLayout> layout = readPeResourceLayout(data, size, problem);
    if (!layout) {
        return refuse(StampInput::Launcher, problem);
    }
    const std::vector<std::uint8_t> section = resourceSectionBytes(data, size, *layout);
    std::optional<std::vector<ResourceEntry>> entries =
        parseResourceSection(section.data(), section.size(), layout->resourceRva, problem);
    if (!entries) {
        return refuse(StampInput::Launcher, "damaged resources: " + problem);
    }
    const std::string missing =
        isLauncherSubsystem(layout->subsystem) ? missingLauncherMark(*entries) : "neither a GUI nor a console program";
    if (!missing.empty()) {
        return refuse(StampInput::Launcher, "not a launcher built by this project (" + missing + ")");
    }

    StampOutcome outcome;
    if (request.icon) {
        const std::optional<std::vector<IconImage>> images = parseIconFile(request.icon->data(), request.icon->size(), problem);
        if (!images) {
            return refuse(StampInput::Icon, problem);
        }
        if (images->size() > kMaxIconImages) {
            return refuse(StampInput::Icon, "more than " + std::to_string(kMaxIconImages) + " images");
        }
        if (!replaceIcon(*entries, *images, problem)) {
            return refuse(StampInput::Launcher, problem);
        }
        outcome.stamped.push_back("icon: " + std::to_string(images->size()) + " images (" + describeIconImages(*images) + ")");
    }
    if (!replaceVersion(*entries, request, outcome.stamped)) {
        return refuse(StampInput::Texts, "the version texts are too long for a version resource");
    }
    if (request.settings) {
        problem = textProblem(*request.settings);
        if (!problem.empty()) {
            return refuse(StampInput::Settings, problem);
        }
        const std::vector<std::uint8_t> encoded = encodeEmbeddedSettings(request.settings->data(), request.settings->size());
        replaceData(*entries, kResourceRcData, kEmbeddedSettingsResourceId, encoded);
        outcome.stamped.push_back("settings: " + std::to_string(ByteReader{encoded.data(), encoded.size()}.u32(4)) +
                                  " bytes of text, enciphered as RCDATA 300");
    }
    if (request.manifest) {
        problem = textProblem(*request.manifest);
        const std::string text(request.manifest->begin(), request.manifest->end());
        if (problem.empty() && text.find("<assembly") == std::string::npos) {
            problem = "not an application manifest (no <assembly> element)";
        }
        if (!problem.empty()) {
            return refuse(StampInput::Manifest, problem);
        }
        replaceData(*entries, kResourceManifest, kManifestId, *request.manifest);
        outcome.stamped.push_back("manifest: " + std::to_string(request.manifest->size()) + " bytes");
    }
    const std::vector<std::uint8_t> rebuilt = buildResourceSection(*entries, layout->resourceRva);
    if (rebuilt.size() > kMaxSectionSize) {
        return refuse(StampInput::Launcher, "the resources would exceed 1 GB");
    }
    outcome.image = replaceResourceSection(data, size, *layout, rebuilt);
    outcome.signatureRemoved = layout->certificateSize != 0;
    if (request.subsystem) {
        setImageSubsystem(outcome.image, *layout, *request.subsystem);
        outcome.stamped.push_back(*request.subsystem == kSubsystemWindowsConsole ? "subsystem: console" : "subsystem: windows");
    }
    outcome.ok = true;
    return outcome;
}
