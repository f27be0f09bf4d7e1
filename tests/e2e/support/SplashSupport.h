#pragma once
// The splash screen as the test driver sees it: an image to show and the
// splash window of a running launcher.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

namespace splash_detail {

inline void put32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>(value >> shift);
    }
}

} // namespace splash_detail

// A grey PNG of width by height pixels, its data in stored deflate blocks.
inline std::string pngImage(std::uint32_t width, std::uint32_t height)
{
    std::string raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw += '\0';  // no filter
        raw.append(width, static_cast<char>(y * 3));
    }
    std::string data = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (std::size_t at = 0; at < raw.size(); at += 65535) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        data += static_cast<char>(at + n == raw.size());
        data += {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(~n), static_cast<char>(~n >> 8)};
        data.append(raw, at, n);
    }
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    splash_detail::put32(data, b << 16 | a);
    std::string png = "\x89PNG\r\n\x1a\n";
    auto chunk = [&png](const std::string& body) {
        splash_detail::put32(png, static_cast<std::uint32_t>(body.size() - 4));
        std::uint32_t crc = 0xFFFFFFFF;
        for (unsigned char c : body) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) {
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
            }
        }
        png += body;
        splash_detail::put32(png, ~crc);
    };
    std::string header = "IHDR";
    splash_detail::put32(header, width);
    splash_detail::put32(header, height);
    chunk(header + std::string("\x08\x00\x00\x00\x00", 5));  // 8-bit grey
    chunk("IDAT" + data);
    chunk("IEND");
    return png;
}

// The window of class "SplashScreenWindow" of a process, shown or not; null
// when it has none.
inline HWND splashWindowOf(DWORD processId)
{
    std::pair<DWORD, HWND> search{processId, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t name[32] = {};
            ::GetClassNameW(window, name, 32);
            if (owner == found->first && std::wstring(name) == L"SplashScreenWindow") {
                found->second = window;
            }
            return found->second == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}
