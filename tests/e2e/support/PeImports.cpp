#include "support/PeImports.h"

#include <windows.h>

#include <cstring>

namespace {

// A copy of a structure at `offset`, when it lies within the bytes.
template <typename T>
bool readAt(const std::string& bytes, std::size_t offset, T& out)
{
    if (offset > bytes.size() || sizeof(T) > bytes.size() - offset) {
        return false;
    }
    std::memcpy(&out, bytes.data() + offset, sizeof(T));
    return true;
}

// The file offset of a relative virtual address, through the section table.
std::optional<std::size_t> fileOffsetOf(const std::string& bytes, std::size_t sections, unsigned count, DWORD rva)
{
    for (unsigned i = 0; i < count; ++i) {
        IMAGE_SECTION_HEADER section{};
        if (!readAt(bytes, sections + i * sizeof section, section)) {
            return std::nullopt;
        }
        const DWORD extent = section.Misc.VirtualSize > section.SizeOfRawData ? section.Misc.VirtualSize
                                                                               : section.SizeOfRawData;
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < extent) {
            return static_cast<std::size_t>(section.PointerToRawData) + (rva - section.VirtualAddress);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::string>> readPeImports(const std::string& bytes)
{
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS64 nt{};
    if (!readAt(bytes, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
        !readAt(bytes, static_cast<std::size_t>(dos.e_lfanew), nt) || nt.Signature != IMAGE_NT_SIGNATURE ||
        nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        return std::nullopt;
    }
    const std::size_t sections = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                 nt.FileHeader.SizeOfOptionalHeader;
    const DWORD importRva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::vector<std::string> names;
    if (importRva == 0) {
        return names;
    }
    std::optional<std::size_t> entry = fileOffsetOf(bytes, sections, nt.FileHeader.NumberOfSections, importRva);
    for (; entry; *entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR descriptor{};
        if (!readAt(bytes, *entry, descriptor) || names.size() > 4096) {
            return std::nullopt;
        }
        if (descriptor.Name == 0) {
            return names;
        }
        const std::optional<std::size_t> name =
            fileOffsetOf(bytes, sections, nt.FileHeader.NumberOfSections, descriptor.Name);
        if (!name || *name >= bytes.size()) {
            return std::nullopt;
        }
        names.emplace_back(bytes.c_str() + *name);
    }
    return std::nullopt;
}
