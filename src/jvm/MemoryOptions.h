#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The two figures of the machine's memory status that percentage options are
// computed from.
struct MemoryStatus {
    std::uint64_t totalPhysicalBytes = 0;
    std::uint64_t availableVirtualBytes = 0;
};

// Numbers read out of an option's text, and where they start.
struct NumberList {
    std::vector<std::uint64_t> values;
    std::size_t start = 0;
};

// True for a token that starts with exactly "-Xms", "-Xmx" or "-Xss" and ends
// in 'P', 'p' (share of physical memory), 'T' or 't' (share of the available
// virtual address space).
bool isPercentMemoryOption(const std::wstring& token);

// Reads the ':'-separated decimal numbers of `text`. `start` is the position
// of the first digit or ':' (the text's length when there is none, with an
// empty list). From there every digit extends the current value, every ':'
// starts a new one and other characters are skipped; the last character of
// the text, the unit position, is never read. Values saturate at the 64-bit
// maximum instead of wrapping.
NumberList readNumberList(const std::wstring& text);

// The percentage option `token` rewritten into an absolute size in kilobytes:
// "-Xmx25P" with 16 GiB of physical memory gives "-Xmx4194304K". The numbers
// are percentage, minimum MB and maximum MB (0 or absent: no bound); the
// maximum is applied first, so a larger minimum wins. A size beyond the 64-bit
// range is clamped to the 64-bit maximum.
std::wstring rewritePercentMemoryOption(const std::wstring& token, const MemoryStatus& memory);

// The VM thread stack size in bytes that a "-Xss" token asks for: a single
// number followed by a unit letter K, M or G (any case; another letter counts
// bytes), or a plain number of bytes. 0 for a malformed value; nothing when
// the token does not start with "-Xss". The product saturates at the 64-bit
// maximum.
std::optional<std::uint64_t> deriveThreadStackSize(const std::wstring& token);
