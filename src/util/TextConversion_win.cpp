#include "util/TextConversion_win.h"

#include <windows.h>

#include <climits>
#include <optional>

#include "util/LaunchError.h"

std::string narrowText(const std::wstring& text, unsigned codePage, unsigned long flags)
{
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        raiseLaunchError(kHresultArithmeticOverflow);
    }
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return std::string();
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), length, result.data(), size, nullptr, nullptr);
    return result;
}

std::string toUtf8(const std::wstring& text)
{
    return narrowText(text, CP_UTF8, 0);
}

std::string toThreadAnsi(const std::wstring& text)
{
    return narrowText(text, CP_THREAD_ACP, 0);
}

std::optional<std::string> toThreadAnsiExact(const std::wstring& text)
{
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                           nullptr, &usedDefault);
    if (size <= 0 && length != 0 && !usedDefault) {
        // A UTF-8 code page takes neither the flag nor the question: it maps
        // every character.
        return toThreadAnsi(text);
    }
    if (usedDefault) {
        return std::nullopt;
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, result.data(), size, nullptr,
                          nullptr);
    return result;
}

namespace {

// The bytes as wide text in `codePage`; nothing when they do not convert
// (with MB_ERR_INVALID_CHARS: when they are not valid there).
std::optional<std::wstring> widened(const std::string& bytes, UINT codePage, DWORD flags)
{
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (size <= 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), length, text.data(), size);
    return text;
}

} // namespace

std::wstring fromThreadAnsi(const std::string& text)
{
    return widened(text, CP_THREAD_ACP, 0).value_or(std::wstring());
}

std::wstring fromProgramOutput(const std::string& bytes)
{
    if (std::optional<std::wstring> text = widened(bytes, CP_UTF8, MB_ERR_INVALID_CHARS)) {
        return std::move(*text);
    }
    return fromThreadAnsi(bytes);
}
