#include "util/Trace_win.h"

#include <windows.h>

#include "util/EnvironmentExpansion_win.h"
#include "util/Path_win.h"
#include "util/AsciiText.h"
#include "util/PathText.h"
#include "util/TextConversion_win.h"

namespace {

std::wstring defaultTracePath()
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    const Expected<std::wstring> module = readExecutablePath();
    if (length == 0 || length > MAX_PATH || !module) {
        return std::wstring();
    }
    std::wstring name = lastElement(*module);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) {
        name.resize(dot);
    }
    return std::wstring(temp, length) + name + L"-launch.log";
}

// Milliseconds since this process was created.
unsigned long long millisecondsSinceStart()
{
    FILETIME creation{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    FILETIME now{};
    ::GetProcessTimes(::GetCurrentProcess(), &creation, &exited, &kernel, &user);
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return ticks(now) > ticks(creation) ? (ticks(now) - ticks(creation)) / 10000 : 0;
}

} // namespace

Trace traceFromEnvironment()
{
    const std::optional<std::wstring> setting = environmentVariable(L"LAUNCHER_TRACE");
    if (!setting || setting->empty()) {
        return Trace();
    }
    const std::wstring path = *setting == L"1" ? defaultTracePath() : *setting;
    if (path.empty()) {
        return Trace();
    }
    // Appending writes land whole at the end, whichever thread writes. The
    // handle stays open, on purpose, for the life of the process: lines come
    // until the very end, from the runtime's exit hook too.
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Trace();
    }
    return Trace([file](const std::wstring& line) {
        const std::string text = toUtf8(decimalText(millisecondsSinceStart()) + L" ms  " + line + L"\r\n");
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    });
}
