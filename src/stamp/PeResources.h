#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where the resources of a 64-bit Windows executable lie, and a copy of the
// executable with its resource section replaced. The resource section is
// rebuilt where it is: it must be the last section, or followed only by the
// base relocation section, which moves behind the new resource section
// unchanged (relocation blocks hold the RVAs of what they fix, never their
// own). Nothing may follow the last section but a signature's certificate
// table, which the copy loses: a signature covers the bytes it signed, and
// the stamp rewrites them, so the copy must be signed again.

struct PeResourceLayout {
    std::size_t optionalHeader = 0;        // file offset of the optional header
    std::size_t sectionTable = 0;          // file offset of the section table
    std::size_t sectionCount = 0;
    std::size_t resourceSection = 0;       // index of the resource section in the table
    std::optional<std::size_t> relocationSection;   // index of the section after it, when there is one
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceRawOffset = 0;
    std::uint32_t resourceRawSize = 0;
    std::uint32_t fileAlignment = 0;
    std::uint32_t sectionAlignment = 0;
    std::uint16_t subsystem = 0;
    std::uint32_t certificateOffset = 0;   // file offset of the certificate table of a signed image
    std::uint32_t certificateSize = 0;     // 0: the image is not signed
};

// The layout of an x64 image whose resource section can be replaced; nothing,
// and `problem` says why, for anything else (not a PE file, a truncated one,
// another machine, data appended after the last section or after a
// signature's certificate table, a certificate table that does not end the
// file, a resource section in the middle of the image).
std::optional<PeResourceLayout> readPeResourceLayout(const std::uint8_t* data, std::size_t size, std::string& problem);

// The bytes of the resource section (from its start to the end of its raw data).
std::vector<std::uint8_t> resourceSectionBytes(const std::uint8_t* data, std::size_t size, const PeResourceLayout& layout);

// A copy of the image with `section` (built for the resource section's RVA)
// as its resource section: section sizes, the relocation section's place,
// SizeOfImage, SizeOfInitializedData, the resource data directory and the
// checksum updated, and a signature's certificate table left out with its
// data directory entry zeroed. The layout must come from readPeResourceLayout on the
// same bytes.
std::vector<std::uint8_t> replaceResourceSection(const std::uint8_t* data, std::size_t size,
                                                 const PeResourceLayout& layout,
                                                 const std::vector<std::uint8_t>& section);

// Sets the subsystem field of an image made by replaceResourceSection and
// brings its checksum up to date again, so the copy stays valid for signing.
void setImageSubsystem(std::vector<std::uint8_t>& image, const PeResourceLayout& layout, std::uint16_t subsystem);

// The image checksum: the 16-bit sums of the file with carries folded back,
// the checksum field itself taken as zero, plus the file length.
std::uint32_t peChecksum(const std::uint8_t* data, std::size_t size, std::size_t checksumOffset);
