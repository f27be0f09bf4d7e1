// The single-instance block: another process writes it, so its argument area
// may hold anything. The input's first kSharedBlockSize bytes are the block
// (zero-filled when shorter); the whole input also makes an argument list to
// pack.
#include <vector>

#include "FuzzInput.h"
#include "instance/SharedBlock.h"

namespace {

std::size_t packedSize(const std::vector<std::wstring>& arguments)
{
    std::size_t size = 2;
    for (const std::wstring& argument : arguments) {
        size += 2 * argument.size() + 2;
    }
    return size;
}

// Packing a list the reader can tell apart (non-empty arguments without NUL
// characters, or a single empty one) and unpacking it gives it back when it
// fits; a list that does not fit leaves the block as it was.
void checkRoundTrip(const std::vector<std::wstring>& arguments)
{
    ExactBytes block(std::vector<std::uint8_t>(kSharedBlockSize, 0xA5).data(), kSharedBlockSize);
    const bool fits = packedSize(arguments) <= kArgumentListLimit;
    fuzzCheck(packArguments(arguments, block.data()) == fits);
    for (std::size_t i = 0; i < kSharedBlockSize; ++i) {
        const bool written = fits && i >= kArgumentAreaOffset && i < kArgumentAreaOffset + kArgumentListLimit;
        fuzzCheck(written || block.data()[i] == 0xA5);
    }
    if (fits) {
        fuzzCheck(unpackArguments(block.data()) == arguments);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> padded(data, data + (size < kSharedBlockSize ? size : kSharedBlockSize));
    padded.resize(kSharedBlockSize, 0);
    // Exact, so a scan past the block is reported.
    const ExactBytes block(padded.data(), padded.size());
    const std::vector<std::wstring> list = unpackArguments(block.data());

    // The list is what the area holds: each argument its units up to a zero,
    // one after the other, the first empty only when the area starts with a
    // zero.
    std::size_t offset = kArgumentAreaOffset;
    for (std::size_t index = 0; index < list.size(); ++index) {
        const std::wstring& argument = list[index];
        fuzzCheck(!argument.empty() || list.size() == 1);
        fuzzCheck(offset + 2 * argument.size() + 2 <= kSharedBlockSize);
        for (wchar_t unit : argument) {
            fuzzCheck(unit != 0 && unit == (block.data()[offset] | (block.data()[offset + 1] << 8)));
            offset += 2;
        }
        fuzzCheck(block.data()[offset] == 0 && block.data()[offset + 1] == 0);
        offset += 2;
    }
    if (!list.empty() && !list[0].empty()) {
        // ...and ends at a double zero.
        fuzzCheck(offset + 2 <= kSharedBlockSize && block.data()[offset] == 0 && block.data()[offset + 1] == 0);
        checkRoundTrip(list);
    }

    // Arguments cut from the input at zero units, so none is empty or holds a NUL.
    std::vector<std::wstring> arguments;
    std::wstring current;
    for (wchar_t unit : wideFromFuzzBytes(data, size)) {
        if (unit != 0) {
            current += unit;
        } else if (!current.empty()) {
            arguments.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) {
        arguments.push_back(current);
    }
    if (!arguments.empty()) {
        checkRoundTrip(arguments);
    }
    checkRoundTrip({std::wstring()});
    return 0;
}
