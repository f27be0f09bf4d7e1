#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Layout of the named block that a single-instance primary and later starts
// share: three little-endian 32-bit fields, then the argument area.
constexpr std::size_t kSharedBlockSize = 2092;
constexpr std::size_t kListenerThreadIdOffset = 0;
constexpr std::size_t kPrimaryProcessIdOffset = 4;
constexpr std::size_t kRequestMessageIdOffset = 8;
constexpr std::size_t kArgumentAreaOffset = 12;
// A secondary writes at most this many bytes of the argument area.
constexpr std::size_t kArgumentListLimit = 1040;

// The name of the shared objects: the executable path with every backslash
// replaced by an underscore, letter case kept.
std::wstring sharedObjectName(const std::wstring& executablePath);

std::uint32_t readBlockUint32(const unsigned char* block, std::size_t offset);
void writeBlockUint32(unsigned char* block, std::size_t offset, std::uint32_t value);

// Writes `arguments` into the argument area of the block (kSharedBlockSize
// bytes) as zero-terminated UTF-16LE strings and a final zero, after zeroing
// the first kArgumentListLimit bytes. Each wchar_t is one UTF-16 unit. False,
// with the block untouched, when the list needs more than kArgumentListLimit
// bytes.
bool packArguments(const std::vector<std::wstring>& arguments, unsigned char* block);

// Reads the argument list back from the block. The scan never leaves the
// block; a list that is still open at its end is dropped (empty result); an
// area starting with a zero character gives one empty string.
std::vector<std::wstring> unpackArguments(const unsigned char* block);
