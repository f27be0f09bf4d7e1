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

std::wstring fromThreadAnsi(const std::string& text)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0) {
        return std::wstring();
    }
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, result.data(), size);
    return result;
}

std::wstring fromProgramOutput(const std::string& bytes)
{
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::wstring();
    }
    const int length = static_cast<int>(bytes.size());
    UINT codePage = CP_UTF8;
    int size = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0) {
        codePage = CP_THREAD_ACP;
        size = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    }
    if (size <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), size);
    return text;
}
