#pragma once
#include <optional>
#include <string>

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
