// Text conversions, the steering file and the event log of the test runtime.
#include <cstdlib>
#include <mutex>

#include "TestRuntime.h"

namespace {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes UTF-8 (or modified UTF-8, whose forms are a subset of the same
// byte patterns) into UTF-16; a malformed byte becomes U+FFFD.
std::u16string decodeUtf8(const std::string& text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            auto t = static_cast<unsigned char>(text[i + k]);
            ok = ok && (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (!ok) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += extra + 1;
    }
    return out;
}

std::mutex gLogMutex;
HANDLE gLogFile = INVALID_HANDLE_VALUE;

} // namespace

std::string utf8FromUtf16(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string utf16FromUtf8(const std::string& text) { return decodeUtf8(text); }

std::string modifiedUtf8FromUtf16(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        if (c == 0) {
            out += "\xC0\x80";
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

std::u16string utf16FromModifiedUtf8(const std::string& text) { return decodeUtf8(text); }

std::string utf8FromWide(const std::wstring& text) { return utf8FromUtf16(std::u16string(text.begin(), text.end())); }

void Steering::parse(const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) {
            continue;
        }
        values_.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
}

std::string Steering::text(const std::string& key, const std::string& fallback) const
{
    auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

std::vector<std::string> Steering::all(const std::string& key) const
{
    std::vector<std::string> out;
    for (auto [it, end] = values_.equal_range(key); it != end; ++it) {
        out.push_back(it->second);
    }
    return out;
}

long long Steering::number(const std::string& key, long long fallback) const
{
    std::string value = text(key);
    if (value.empty()) {
        return fallback;
    }
    return std::strtoll(value.c_str(), nullptr, 0);
}

bool Steering::yes(const std::string& key, bool fallback) const
{
    std::string value = text(key);
    return value.empty() ? fallback : value == "yes";
}

void openLog(const std::wstring& path)
{
    gLogFile = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Line breaks inside a value are written as \n and \r so that one event stays one line.
void logLine(const std::string& key, const std::string& value)
{
    std::string line = key + "=";
    for (char c : value) {
        line += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    }
    line += "\n";
    std::lock_guard<std::mutex> lock(gLogMutex);
    DWORD written = 0;
    WriteFile(gLogFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string threadIdText() { return std::to_string(GetCurrentThreadId()); }

// The full path of a loaded module; GetModuleFileNameW truncates silently, so the buffer grows until it fits.
std::wstring modulePath(HINSTANCE instance)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(instance, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Microseconds from the creation of this process to now, for start-up benchmarks.
std::string elapsedSinceProcessStart()
{
    FILETIME creation{}, exitTime{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &creation, &exitTime, &kernel, &user);
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    const unsigned long long start = ticks(creation);
    const unsigned long long end = ticks(now);
    return std::to_string(end > start ? (end - start) / 10 : 0);
}

// Loops because a pipe may take a long text in parts.
std::size_t writeStandardError(const std::string& text)
{
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    std::size_t done = 0;
    while (handle && handle != INVALID_HANDLE_VALUE && done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr) || written == 0) {
            break;
        }
        done += written;
    }
    return done;
}
