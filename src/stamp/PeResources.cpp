#include "stamp/PeResources.h"

#include "util/ByteIo.h"
#include "util/PeHeaders.h"

namespace {

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kOptionalHeader64Size = 240;   // with all 16 data directories
constexpr std::size_t kDataDirectories = 112;        // offset of the directories in the optional header
constexpr std::size_t kDirectoryCount = 16;
constexpr std::size_t kResourceDirectory = 2;
constexpr std::size_t kCertificateDirectory = 4;
constexpr std::size_t kRelocationDirectory = 5;
constexpr std::uint32_t kInitializedData = 0x40;

// Offsets in the optional header of a PE32+ image.
constexpr std::size_t kSizeOfInitializedData = 8;
constexpr std::size_t kSectionAlignment = 32;
constexpr std::size_t kFileAlignment = 36;
constexpr std::size_t kSizeOfImage = 56;
constexpr std::size_t kSizeOfHeaders = 60;
constexpr std::size_t kCheckSum = 64;
constexpr std::size_t kSubsystem = 68;
constexpr std::size_t kNumberOfRvaAndSizes = 108;

// Offsets in a section header.
constexpr std::size_t kVirtualSize = 8;
constexpr std::size_t kVirtualAddress = 12;
constexpr std::size_t kRawSize = 16;
constexpr std::size_t kRawPointer = 20;
constexpr std::size_t kCharacteristics = 36;

bool isPowerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

struct Section {
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
    std::uint64_t virtualEnd() const { return static_cast<std::uint64_t>(virtualAddress) + (virtualSize != 0 ? virtualSize : rawSize); }
    std::uint64_t rawEnd() const { return static_cast<std::uint64_t>(rawPointer) + rawSize; }
};

// Why the DOS or NT headers were refused.
const char* headerProblem(PeHeaderFault fault)
{
    switch (fault) {
    case PeHeaderFault::NoDosSignature: return "not a Windows executable (it does not start with \"MZ\")";
    case PeHeaderFault::NtHeaderOutside: return "truncated or damaged: its PE header lies beyond the end of the file";
    default: return "not a Windows executable (no PE signature)";
    }
}

Section readSection(ByteReader& reader, std::size_t header)
{
    Section section;
    section.virtualSize = reader.u32(header + kVirtualSize);
    section.virtualAddress = reader.u32(header + kVirtualAddress);
    section.rawSize = reader.u32(header + kRawSize);
    section.rawPointer = reader.u32(header + kRawPointer);
    return section;
}

// A field of a data directory: 0 its RVA, 4 its size.
std::uint32_t directoryField(ByteReader& reader, const PeResourceLayout& layout, std::size_t index, std::size_t field)
{
    return reader.u32(layout.optionalHeader + kDataDirectories + 8 * index + field);
}

// The PE32+ optional header with its 16 data directories, the alignments and
// a section table that lies within the headers.
bool readOptionalHeader64(ByteReader& reader, std::size_t optionalSize, PeResourceLayout& layout, std::string& problem)
{
    const std::size_t opt = layout.optionalHeader;
    if (optionalSize < kOptionalHeader64Size || !reader.has(opt, optionalSize) ||
        reader.u16(opt) != kOptionalMagic64 || reader.u32(opt + kNumberOfRvaAndSizes) < kDirectoryCount) {
        problem = reader.ok ? "not a PE32+ image with the usual 16 data directories"
                            : "truncated or damaged: its optional header lies beyond the end of the file";
        return false;
    }
    layout.sectionAlignment = reader.u32(opt + kSectionAlignment);
    layout.fileAlignment = reader.u32(opt + kFileAlignment);
    const std::uint32_t headersSize = reader.u32(opt + kSizeOfHeaders);
    if (!isPowerOfTwo(layout.fileAlignment) || layout.fileAlignment < 512 || layout.fileAlignment > 65536 ||
        !isPowerOfTwo(layout.sectionAlignment) || layout.sectionAlignment < layout.fileAlignment) {
        problem = "damaged: its section or file alignment is not a power of two of the usual range";
        return false;
    }
    const std::uint64_t tableEnd = layout.sectionTable + static_cast<std::uint64_t>(layout.sectionCount) * kSectionHeaderSize;
    if (layout.sectionCount == 0 || tableEnd > headersSize || headersSize > reader.size) {
        problem = "truncated or damaged: its section table does not lie within its headers";
        return false;
    }
    return true;
}

// The section table, each section inside the file and after the one before it.
bool readSections(ByteReader& reader, const PeResourceLayout& layout, std::vector<Section>& sections, std::string& problem)
{
    for (std::size_t i = 0; i < layout.sectionCount; ++i) {
        sections.push_back(readSection(reader, layout.sectionTable + i * kSectionHeaderSize));
        const Section& s = sections.back();
        if (s.rawSize != 0 && s.rawEnd() > reader.size) {
            problem = "truncated: section " + std::to_string(i + 1) + " ends beyond the end of the file";
            return false;
        }
        if (i > 0 && s.virtualAddress < sections[i - 1].virtualEnd()) {
            problem = "damaged: its sections are not in address order";
            return false;
        }
    }
    return true;
}

// A signature's certificate table (its directory entry holds a file offset,
// not an address) must follow the last section, padded to eight bytes, and
// end the file: anything else there would be lost or misplaced in the copy.
bool placeCertificateTable(const ByteReader& reader, std::uint64_t fileEnd, const PeResourceLayout& layout,
                           std::string& problem)
{
    const std::uint64_t tableEnd = static_cast<std::uint64_t>(layout.certificateOffset) + layout.certificateSize;
    if (layout.certificateOffset != alignUp(fileEnd, 8) || tableEnd != reader.size) {
        problem = "signed, but its certificate table does not lie right after its last section at the end of the file";
        return false;
    }
    return true;
}

// The section the resource directory points at, followed by nothing but the
// relocation section, in the file as in memory, and with nothing after it.
bool placeResourceSection(ByteReader& reader, const std::vector<Section>& sections, PeResourceLayout& layout,
                          std::string& problem)
{
    const std::uint32_t resourceRva = directoryField(reader, layout, kResourceDirectory, 0);
    std::size_t resource = 0;
    while (resource < sections.size() && (sections[resource].virtualAddress != resourceRva || resourceRva == 0)) {
        ++resource;
    }
    if (resource == sections.size() || directoryField(reader, layout, kResourceDirectory, 4) == 0 ||
        sections[resource].rawSize == 0) {
        problem = "without a resource section";
        return false;
    }
    layout.resourceSection = resource;
    layout.resourceRva = resourceRva;
    layout.resourceRawOffset = sections[resource].rawPointer;
    layout.resourceRawSize = sections[resource].rawSize;
    // Only the relocation section may follow, and it must follow in the file too.
    const std::size_t following = sections.size() - resource - 1;
    if (following > 1 ||
        (following == 1 && (directoryField(reader, layout, kRelocationDirectory, 0) != sections.back().virtualAddress ||
                            sections.back().rawPointer < sections[resource].rawEnd()))) {
        problem = "laid out unusually: its resource section is followed by sections other than the relocations";
        return false;
    }
    if (following == 1) {
        layout.relocationSection = resource + 1;
    }
    for (std::size_t i = 0; i < resource; ++i) {
        if (sections[i].rawSize != 0 && sections[i].rawEnd() > sections[resource].rawPointer) {
            problem = "laid out unusually: its resource section is not the last data in the file";
            return false;
        }
    }
    const std::uint64_t fileEnd = sections.back().rawSize != 0 ? sections.back().rawEnd() : sections[resource].rawEnd();
    if (layout.certificateSize != 0) {
        return placeCertificateTable(reader, fileEnd, layout, problem);
    }
    if (fileEnd != reader.size) {
        problem = "followed by " + std::to_string(reader.size - fileEnd) +
                  " bytes after its last section; stamp the launcher before appending anything to it";
        return false;
    }
    return true;
}

// Nothing else the loader finds by address may live in what moves.
bool directoriesStayPut(ByteReader& reader, const PeResourceLayout& layout, std::string& problem)
{
    for (std::size_t index = 0; index < kDirectoryCount; ++index) {
        const std::uint32_t size = directoryField(reader, layout, index, 4);
        const std::uint64_t end = static_cast<std::uint64_t>(directoryField(reader, layout, index, 0)) + size;
        if (index != kResourceDirectory && index != kCertificateDirectory && size != 0 && end > layout.resourceRva &&
            !(index == kRelocationDirectory && layout.relocationSection)) {
            problem = "laid out unusually: data directory " + std::to_string(index) + " lies in its resource section";
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<PeResourceLayout> readPeResourceLayout(const std::uint8_t* data, std::size_t size, std::string& problem)
{
    PeHeaderFault fault = PeHeaderFault::None;
    const std::optional<PeHeaderLayout> headers = readPeHeaderLayout(data, size, fault);
    if (!headers) {
        problem = headerProblem(fault);
        return std::nullopt;
    }
    if (headers->headers.machine != kMachineAmd64) {
        problem = "not a 64-bit (x64) executable";
        return std::nullopt;
    }
    ByteReader reader{data, size};
    PeResourceLayout layout;
    layout.sectionCount = headers->sectionCount;
    layout.optionalHeader = headers->optionalHeader;
    layout.sectionTable = headers->sectionTable;
    if (!readOptionalHeader64(reader, headers->optionalHeaderSize, layout, problem)) {
        return std::nullopt;
    }
    layout.subsystem = headers->headers.subsystem;
    layout.certificateOffset = directoryField(reader, layout, kCertificateDirectory, 0);
    layout.certificateSize = directoryField(reader, layout, kCertificateDirectory, 4);
    std::vector<Section> sections;
    if (!readSections(reader, layout, sections, problem) || !placeResourceSection(reader, sections, layout, problem) ||
        !directoriesStayPut(reader, layout, problem)) {
        return std::nullopt;
    }
    if (!reader.ok) {
        problem = "truncated or damaged: its headers lie beyond the end of the file";
        return std::nullopt;
    }
    return layout;
}

std::vector<std::uint8_t> resourceSectionBytes(const std::uint8_t* data, std::size_t size, const PeResourceLayout& layout)
{
    const std::size_t begin = layout.resourceRawOffset;
    const std::size_t end = begin + layout.resourceRawSize;
    if (begin > size || end > size) {
        return {};
    }
    return std::vector<std::uint8_t>(data + begin, data + end);
}

std::vector<std::uint8_t> replaceResourceSection(const std::uint8_t* data, std::size_t size,
                                                 const PeResourceLayout& layout,
                                                 const std::vector<std::uint8_t>& section)
{
    ByteReader reader{data, size};
    std::vector<std::uint8_t> out(data, data + layout.resourceRawOffset);
    out.insert(out.end(), section.begin(), section.end());
    padTo(out, layout.fileAlignment);
    const std::uint32_t newRawSize = static_cast<std::uint32_t>(out.size() - layout.resourceRawOffset);
    const std::size_t resourceHeader = layout.sectionTable + layout.resourceSection * kSectionHeaderSize;
    storeU32(out, resourceHeader + kVirtualSize, static_cast<std::uint32_t>(section.size()));
    storeU32(out, resourceHeader + kRawSize, newRawSize);
    const std::size_t opt = layout.optionalHeader;
    std::uint64_t imageEnd = static_cast<std::uint64_t>(layout.resourceRva) + section.size();

    if (layout.relocationSection) {
        const std::size_t header = layout.sectionTable + *layout.relocationSection * kSectionHeaderSize;
        const Section relocation = readSection(reader, header);
        const std::uint32_t newRva = static_cast<std::uint32_t>(alignUp(imageEnd, layout.sectionAlignment));
        storeU32(out, header + kVirtualAddress, newRva);
        storeU32(out, header + kRawPointer, static_cast<std::uint32_t>(out.size()));
        storeU32(out, opt + kDataDirectories + 8 * kRelocationDirectory, newRva);
        out.insert(out.end(), data + relocation.rawPointer, data + relocation.rawPointer + relocation.rawSize);
        imageEnd = static_cast<std::uint64_t>(newRva) + (relocation.virtualSize != 0 ? relocation.virtualSize : relocation.rawSize);
    }
    storeU32(out, opt + kSizeOfImage, static_cast<std::uint32_t>(alignUp(imageEnd, layout.sectionAlignment)));
    storeU32(out, opt + kDataDirectories + 8 * kResourceDirectory + 4, static_cast<std::uint32_t>(section.size()));
    if ((reader.u32(resourceHeader + kCharacteristics) & kInitializedData) != 0) {
        const std::int64_t initialized = static_cast<std::int64_t>(reader.u32(opt + kSizeOfInitializedData)) +
                                         newRawSize - static_cast<std::int64_t>(layout.resourceRawSize);
        storeU32(out, opt + kSizeOfInitializedData,
                 static_cast<std::uint32_t>(initialized < 0 ? 0 : (initialized > 0xFFFFFFFFll ? 0xFFFFFFFFll : initialized)));
    }
    if (layout.certificateSize != 0) {
        storeU32(out, opt + kDataDirectories + 8 * kCertificateDirectory, 0);
        storeU32(out, opt + kDataDirectories + 8 * kCertificateDirectory + 4, 0);
    }
    storeU32(out, opt + kCheckSum, peChecksum(out.data(), out.size(), opt + kCheckSum));
    return out;
}

void setImageSubsystem(std::vector<std::uint8_t>& image, const PeResourceLayout& layout, std::uint16_t subsystem)
{
    const std::size_t opt = layout.optionalHeader;
    storeU16(image, opt + kSubsystem, subsystem);
    storeU32(image, opt + kCheckSum, peChecksum(image.data(), image.size(), opt + kCheckSum));
}

std::uint32_t peChecksum(const std::uint8_t* data, std::size_t size, std::size_t checksumOffset)
{
    auto byteAt = [&](std::size_t i) -> std::uint32_t {
        return i >= size || (i >= checksumOffset && i < checksumOffset + 4) ? 0 : data[i];
    };
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < size; i += 2) {
        sum += byteAt(i) | (byteAt(i + 1) << 8);
        sum = (sum & 0xFFFFu) + (sum >> 16);
    }
    sum = (sum & 0xFFFFu) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + size);
}
