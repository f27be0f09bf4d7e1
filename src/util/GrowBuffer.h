#pragma once
#include <cstddef>
#include <string>

#include "util/LaunchError.h"

// Answer of one attempt of a call that writes text into a caller's buffer.
struct GrowAttempt {
    std::size_t length = 0;   // characters written (without the final NUL)
    bool truncated = false;   // the text may have been cut: try a larger buffer
};

// Calls `attempt(buffer, size)` with a buffer of `initialSize` characters,
// doubling the buffer while the attempt reports that it may have been cut.
// The one helper for GetModuleFileNameW, GetPrivateProfileStringW,
// ExpandEnvironmentStringsW and their kin. Stops growing at `maximumSize`
// (the last answer is then taken as it is).
template <typename Attempt>
std::wstring readWithGrowingBuffer(std::size_t initialSize, std::size_t maximumSize, Attempt attempt)
{
    std::wstring buffer;
    std::size_t size = initialSize == 0 ? 1 : initialSize;
    for (;;) {
        buffer.assign(size, L'\0');
        GrowAttempt result = attempt(buffer.data(), size);
        if (result.length > size) {
            raiseLaunchError(kHresultInvalidArg);
        }
        if (!result.truncated || size >= maximumSize) {
            buffer.resize(result.length);
            return buffer;
        }
        if (size > maximumSize / 2) {
            size = maximumSize;
        } else {
            size *= 2;
        }
    }
}
