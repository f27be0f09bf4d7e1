#include "util/EnvironmentExpansion_win.h"

#include <windows.h>

#include "util/EnvironmentExpansion.h"
#include "util/GrowBuffer.h"

namespace {

// ExpandEnvironmentStringsW handles at most 32K characters: a longer text or
// result comes back cut, with no error.
constexpr std::size_t kLargestExpansion = 32768;

} // namespace

std::optional<std::wstring> environmentVariable(const std::wstring& name)
{
    ::SetLastError(ERROR_SUCCESS);
    const DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0) {
        if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            return std::nullopt;
        }
        return std::wstring();
    }
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

std::optional<std::wstring> expandEnvironmentStrings(const std::wstring& text)
{
    bool failed = false;
    bool complete = false;
    std::wstring expanded;
    if (text.size() < kLargestExpansion - 1) {
        expanded = readWithGrowingBuffer(256, kLargestExpansion, [&](wchar_t* buffer, std::size_t size) {
            // The result counts the final NUL; a result above the buffer size
            // is the size needed.
            const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), buffer, static_cast<DWORD>(size));
            failed = needed == 0;
            complete = !failed && needed <= size;
            return GrowAttempt{complete ? needed - 1 : 0, !failed && !complete};
        });
        if (failed) {
            return std::nullopt;
        }
    }
    // A text or result at the platform's limit would come back cut: such
    // texts are expanded here, by the same rules.
    if (!complete || expanded.size() >= kLargestExpansion - 2) {
        return expandEnvironmentReferences(text, environmentVariable);
    }
    return expanded;
}
