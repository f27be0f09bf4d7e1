#pragma once
#include <string>

// Turns every line break (LF, CR LF or a lone CR) into CR LF, the form a
// multi-line edit control shows as a line break.
std::wstring withCrLfLineBreaks(const std::wstring& text);
