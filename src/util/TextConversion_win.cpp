#include "util/TextConversion_win.h"

#include <windows.h>

#include <climits>

#include "util/LaunchError.h"

std::string toThreadAnsi(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        raiseLaunchError(kHresultArithmeticOverflow);
    }
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return std::string();
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, result.data(), size, nullptr, nullptr);
    return result;
}
