#include "app/CommandLine_win.h"

#include "app/CommandLine.h"
#include "util/GrowBuffer.h"
#include "util/Path_win.h"

namespace {

// ExpandEnvironmentStringsW handles at most 32K characters.
constexpr std::size_t kLargestExpansion = 32768;

} // namespace

std::vector<std::wstring> splitProcessCommandLine()
{
    const wchar_t* commandLine = ::GetCommandLineW();
    return argumentsFromCommandLine(commandLine != nullptr ? std::wstring(commandLine) : std::wstring());
}

void applyWorkingDirectory(HWND owner)
{
    std::wstring path;
    if (!executablePath(owner, path)) {
        return;
    }
    if (const std::optional<std::wstring> folder = workingDirectoryFor(path)) {
        ::SetCurrentDirectoryW(folder->c_str());
    }
}

std::optional<std::wstring> expandEnvironmentStrings(const std::wstring& text)
{
    bool failed = false;
    bool complete = false;
    std::wstring expanded = readWithGrowingBuffer(256, kLargestExpansion, [&](wchar_t* buffer, std::size_t size) {
        // The result counts the final NUL; a result above the buffer size is
        // the size needed.
        const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), buffer, static_cast<DWORD>(size));
        failed = needed == 0;
        complete = !failed && needed <= size;
        return GrowAttempt{complete ? needed - 1 : 0, !failed && !complete};
    });
    if (failed || !complete) {
        return std::nullopt;
    }
    return expanded;
}

void appendConfiguredCommand(const std::wstring& command, std::vector<std::wstring>& arguments)
{
    appendConfiguredCommand(command, expandEnvironmentStrings, arguments);
}
