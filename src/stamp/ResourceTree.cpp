#include "stamp/ResourceTree.h"

#include <algorithm>
#include <map>

#include "util/ByteIo.h"

namespace {

constexpr std::size_t kDirectorySize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;
// Name units copied (a name is copied once per entry it names) per byte of
// the section: far above what any real tree needs.
constexpr std::size_t kTextUnitsPerByte = 16;

struct TreeReader {
    ByteReader bytes;
    std::uint32_t sectionRva = 0;
    std::size_t dataBytes = 0;   // copied so far, bounded by the section size
    // Read so far. Each directory entry of a real tree is 8 bytes of its own,
    // read once; a crafted tree whose directories (or names) are shared by
    // many entries would list far more resources than the section holds, and
    // a few KB would take minutes and gigabytes to read.
    std::size_t entriesRead = 0;
    std::size_t textUnits = 0;
    std::string problem;

    bool fail(const std::string& text)
    {
        if (problem.empty()) {
            problem = text;
        }
        return false;
    }

    // The entry ids and targets of the directory at `offset`.
    bool readDirectory(std::size_t offset, std::vector<std::pair<ResourceId, std::uint32_t>>& out)
    {
        const std::size_t named = bytes.u16(offset + 12);
        const std::size_t numbered = bytes.u16(offset + 14);
        const std::size_t count = named + numbered;
        if (!bytes.ok || !bytes.has(offset + kDirectorySize, count * kDirectoryEntrySize)) {
            return fail("a resource directory lies outside the resource section");
        }
        entriesRead += count;
        if (entriesRead > bytes.size / kDirectoryEntrySize) {
            return fail("the resource directories list more entries than the resource section holds");
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = offset + kDirectorySize + i * kDirectoryEntrySize;
            const std::uint32_t name = bytes.u32(entry);
            const std::uint32_t target = bytes.u32(entry + 4);
            ResourceId id;
            if ((name & kHighBit) != 0) {
                const std::size_t text = name & ~kHighBit;
                id.isText = true;
                id.text = bytes.utf16(text + 2, bytes.u16(text));
                if (!bytes.ok) {
                    return fail("a resource name lies outside the resource section");
                }
                if (!spendText(id.text.size())) {
                    return false;
                }
            } else {
                id.number = static_cast<std::uint16_t>(name);
            }
            out.emplace_back(std::move(id), target);
        }
        return true;
    }

    bool spendText(std::size_t units)
    {
        textUnits += units;
        return textUnits <= kTextUnitsPerByte * bytes.size || fail("the resource names repeat more than the resource section holds");
    }

    bool readData(std::uint32_t target, ResourceEntry& entry)
    {
        const std::uint32_t rva = bytes.u32(target);
        const std::uint32_t size = bytes.u32(target + 4);
        entry.codePage = bytes.u32(target + 8);
        if (!bytes.ok) {
            return fail("a resource data entry lies outside the resource section");
        }
        const std::uint64_t offset = static_cast<std::uint64_t>(rva) - sectionRva;
        if (rva < sectionRva || offset > bytes.size || size > bytes.size - offset) {
            return fail("the data of a resource lies outside the resource section");
        }
        // Shared data would let a small crafted tree expand without bound.
        dataBytes += size;
        if (dataBytes > bytes.size) {
            return fail("the resources claim more data than the resource section holds");
        }
        entry.data.assign(bytes.data + offset, bytes.data + offset + size);
        return true;
    }
};

void appendDirectory(std::vector<std::uint8_t>& out, std::size_t named, std::size_t numbered)
{
    appendU32(out, 0);   // characteristics
    appendU32(out, 0);   // time stamp
    appendU32(out, 0);   // version
    appendU16(out, static_cast<std::uint16_t>(named));
    appendU16(out, static_cast<std::uint16_t>(numbered));
}

// type -> name -> language -> index into the entries; std::map keeps the
// directory order.
using ResourceTreeLevels = std::map<ResourceId, std::map<ResourceId, std::map<std::uint16_t, std::size_t>>>;

// Where each part of a resource section goes, as offsets from its start.
struct SectionPlan {
    std::map<const void*, std::size_t> directoryOffset;   // by the tree level the directory lists
    std::vector<std::size_t> order;                       // entries in the order of their data entries
    std::size_t dataEntries = 0;
    std::map<std::u16string, std::size_t> textOffset;
    std::map<std::size_t, std::size_t> dataOffset;        // by entry index
    std::size_t size = 0;
};

template <typename Level>
std::size_t countTexts(const Level& level)
{
    return static_cast<std::size_t>(
        std::count_if(level.begin(), level.end(), [](const auto& item) { return item.first.isText; }));
}

// The offsets of the root, the type directories and the name directories,
// one after the other; the end of the last one.
std::size_t planDirectories(const ResourceTreeLevels& tree, SectionPlan& plan)
{
    std::size_t offset = kDirectorySize + tree.size() * kDirectoryEntrySize;
    for (const auto& type : tree) {
        plan.directoryOffset[&type.second] = offset;
        offset += kDirectorySize + type.second.size() * kDirectoryEntrySize;
    }
    for (const auto& type : tree) {
        for (const auto& name : type.second) {
            plan.directoryOffset[&name.second] = offset;
            offset += kDirectorySize + name.second.size() * kDirectoryEntrySize;
        }
    }
    return offset;
}

// Every text type and name once, sorted; offsets still to be set.
void collectTexts(const ResourceTreeLevels& tree, SectionPlan& plan)
{
    for (const auto& type : tree) {
        if (type.first.isText) {
            plan.textOffset[type.first.text] = 0;
        }
        for (const auto& name : type.second) {
            if (name.first.isText) {
                plan.textOffset[name.first.text] = 0;
            }
        }
    }
}

// Offsets first: the root, the type directories, the name directories, then
// the data entries, the names and the data.
SectionPlan planSection(const ResourceTreeLevels& tree, const std::vector<ResourceEntry>& entries)
{
    SectionPlan plan;
    std::size_t offset = planDirectories(tree, plan);
    // A repeated (type, name, language) keeps its last datum only.
    for (const auto& type : tree) {
        for (const auto& name : type.second) {
            for (const auto& language : name.second) {
                plan.order.push_back(language.second);
            }
        }
    }
    plan.dataEntries = offset;
    offset += plan.order.size() * kDataEntrySize;
    collectTexts(tree, plan);
    for (auto& text : plan.textOffset) {
        text.second = offset;
        offset += 2 + 2 * text.first.size();
    }
    for (std::size_t index : plan.order) {
        offset = alignUp(offset, 8);
        plan.dataOffset[index] = offset;
        offset += entries[index].data.size();
    }
    plan.size = offset;
    return plan;
}

void appendDirectoryEntry(std::vector<std::uint8_t>& out, SectionPlan& plan, const ResourceId& id, std::uint32_t target)
{
    appendU32(out, id.isText ? static_cast<std::uint32_t>(plan.textOffset[id.text]) | kHighBit : id.number);
    appendU32(out, target);
}

// The three levels of directories, each entry pointing at the directory or
// data entry below it.
void appendDirectories(std::vector<std::uint8_t>& out, const ResourceTreeLevels& tree, SectionPlan& plan)
{
    appendDirectory(out, countTexts(tree), tree.size() - countTexts(tree));
    for (const auto& type : tree) {
        const std::size_t names = plan.directoryOffset[&type.second];
        appendDirectoryEntry(out, plan, type.first, static_cast<std::uint32_t>(names) | kHighBit);
    }
    for (const auto& type : tree) {
        appendDirectory(out, countTexts(type.second), type.second.size() - countTexts(type.second));
        for (const auto& name : type.second) {
            const std::size_t languages = plan.directoryOffset[&name.second];
            appendDirectoryEntry(out, plan, name.first, static_cast<std::uint32_t>(languages) | kHighBit);
        }
    }
    std::size_t dataEntry = plan.dataEntries;
    for (const auto& type : tree) {
        for (const auto& name : type.second) {
            appendDirectory(out, 0, name.second.size());
            for (const auto& language : name.second) {
                const ResourceId id = ResourceId::fromNumber(language.first);
                appendDirectoryEntry(out, plan, id, static_cast<std::uint32_t>(dataEntry));
                dataEntry += kDataEntrySize;
            }
        }
    }
}

// The data entries, the names (counted UTF-16) and the data, 8-byte aligned.
void appendDataAndNames(std::vector<std::uint8_t>& out, const std::vector<ResourceEntry>& entries, SectionPlan& plan,
                        std::uint32_t sectionRva)
{
    for (std::size_t index : plan.order) {
        appendU32(out, static_cast<std::uint32_t>(sectionRva + plan.dataOffset[index]));
        appendU32(out, static_cast<std::uint32_t>(entries[index].data.size()));
        appendU32(out, entries[index].codePage);
        appendU32(out, 0);
    }
    for (const auto& text : plan.textOffset) {
        appendU16(out, static_cast<std::uint16_t>(text.first.size()));
        for (char16_t unit : text.first) {
            appendU16(out, static_cast<std::uint16_t>(unit));
        }
    }
    for (std::size_t index : plan.order) {
        padTo(out, 8);
        out.insert(out.end(), entries[index].data.begin(), entries[index].data.end());
    }
}

} // namespace

bool operator<(const ResourceId& a, const ResourceId& b)
{
    if (a.isText != b.isText) {
        return a.isText;
    }
    return a.isText ? a.text < b.text : a.number < b.number;
}

bool operator==(const ResourceId& a, const ResourceId& b)
{
    return a.isText == b.isText && (a.isText ? a.text == b.text : a.number == b.number);
}

std::optional<std::vector<ResourceEntry>> parseResourceSection(const std::uint8_t* section, std::size_t size,
                                                               std::uint32_t sectionRva, std::string& problem)
{
    TreeReader reader{ByteReader{section, size}, sectionRva, 0, 0, 0, std::string()};
    std::vector<ResourceEntry> entries;
    std::vector<std::pair<ResourceId, std::uint32_t>> types;
    bool ok = reader.readDirectory(0, types);
    for (std::size_t t = 0; ok && t < types.size(); ++t) {
        std::vector<std::pair<ResourceId, std::uint32_t>> names;
        ok = (types[t].second & kHighBit) != 0 ? reader.readDirectory(types[t].second & ~kHighBit, names)
                                               : reader.fail("a resource type without a directory");
        for (std::size_t n = 0; ok && n < names.size(); ++n) {
            std::vector<std::pair<ResourceId, std::uint32_t>> languages;
            ok = (names[n].second & kHighBit) != 0 ? reader.readDirectory(names[n].second & ~kHighBit, languages)
                                                   : reader.fail("a resource name without a language directory");
            for (std::size_t l = 0; ok && l < languages.size(); ++l) {
                if ((languages[l].second & kHighBit) != 0 || languages[l].first.isText) {
                    ok = reader.fail("the resource tree is deeper than type, name and language");
                    break;
                }
                if (!reader.spendText(types[t].first.text.size() + names[n].first.text.size())) {
                    ok = false;
                    break;
                }
                ResourceEntry entry;
                entry.type = types[t].first;
                entry.name = names[n].first;
                entry.language = languages[l].first.number;
                ok = reader.readData(languages[l].second, entry);
                entries.push_back(std::move(entry));
            }
        }
    }
    if (!ok) {
        problem = reader.problem;
        return std::nullopt;
    }
    return entries;
}

std::vector<std::uint8_t> buildResourceSection(const std::vector<ResourceEntry>& entries, std::uint32_t sectionRva)
{
    ResourceTreeLevels tree;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        tree[entries[i].type][entries[i].name][entries[i].language] = i;
    }
    SectionPlan plan = planSection(tree, entries);
    std::vector<std::uint8_t> out;
    out.reserve(plan.size);
    appendDirectories(out, tree, plan);
    appendDataAndNames(out, entries, plan, sectionRva);
    return out;
}

const ResourceEntry* findResource(const std::vector<ResourceEntry>& entries, std::uint16_t type, std::uint16_t name)
{
    for (const ResourceEntry& entry : entries) {
        if (entry.type.isNumber(type) && entry.name.isNumber(name)) {
            return &entry;
        }
    }
    return nullptr;
}
