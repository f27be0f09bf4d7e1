#pragma once
#include <string>

// UTF-8 and UTF-16 conversions for the texts the stamp tool writes into
// resources and prints.

// UTF-16 from UTF-8; every invalid sequence becomes U+FFFD.
std::u16string utf16FromUtf8(const std::string& text);

// UTF-8 from UTF-16; a lone surrogate becomes U+FFFD.
std::string utf8FromUtf16(const std::u16string& text);
