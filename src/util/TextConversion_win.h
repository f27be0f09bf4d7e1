#pragma once
#include <string>

// Wide text in the calling thread's ANSI code page; characters without a
// mapping become the code page's default character.
std::string toThreadAnsi(const std::wstring& text);
