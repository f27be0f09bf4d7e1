#pragma once
#include <optional>
#include <string>

// %NAME% references expanded by the platform's rules, with no length limit;
// nothing when the platform's expansion fails.
std::optional<std::wstring> expandEnvironmentStrings(const std::wstring& text);

// The value of an environment variable of this process, read whole; nothing
// when it is not set.
std::optional<std::wstring> environmentVariable(const std::wstring& name);
