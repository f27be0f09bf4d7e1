#pragma once
#include <optional>
#include <string>

// %NAME% references expanded by the platform's rules, with no length limit;
// nothing when the platform's expansion fails.
std::optional<std::wstring> expandEnvironmentStrings(const std::wstring& text);
