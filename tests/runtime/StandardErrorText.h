#pragma once
// The text main writes straight to the standard error handle for the steering
// key `main.errbytes`: numbered lines, so that a reader can tell which part
// went missing, cut so that the whole is exactly `size` bytes and ends with
// kStandardErrorLastLine. Shared by the runtime and the tests that read it.

#include <cstddef>
#include <cstdio>
#include <string>

inline constexpr const char kStandardErrorLastLine[] = "end of the standard error text\r\n";

inline std::string standardErrorText(std::size_t size)
{
    const std::string last = kStandardErrorLastLine;
    if (size <= last.size()) {
        return last.substr(last.size() - size);
    }
    std::string text;
    text.reserve(size);
    for (unsigned line = 1; text.size() < size - last.size(); ++line) {
        char numbered[80];
        std::snprintf(numbered, sizeof numbered, "standard error line %07u abcdefghijklmnopqrstuvwxyz\r\n", line);
        text += numbered;
    }
    text.resize(size - last.size());
    return text + last;
}
