#pragma once
#include <optional>
#include <string>

// Wide text in `codePage` (a code page or CP_UTF8) with the conversion
// `flags` (WC_NO_BEST_FIT_CHARS, say); empty when it does not convert.
std::string narrowText(const std::wstring& text, unsigned codePage, unsigned long flags);

// Wide text as UTF-8.
std::string toUtf8(const std::wstring& text);

// Wide text in the calling thread's ANSI code page; characters without a
// mapping become the code page's default character.
std::string toThreadAnsi(const std::wstring& text);

// Wide text in the calling thread's ANSI code page when every character has
// an exact mapping there (no default character, no best-fit substitute);
// nothing otherwise.
std::optional<std::string> toThreadAnsiExact(const std::wstring& text);

// Text in the calling thread's ANSI code page as wide text.
std::wstring fromThreadAnsi(const std::string& text);

// Text that a program wrote as bytes: UTF-8 when the bytes are valid UTF-8,
// else text in the calling thread's ANSI code page.
std::wstring fromProgramOutput(const std::string& bytes);
