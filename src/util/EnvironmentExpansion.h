#pragma once
#include <functional>
#include <optional>
#include <string>

// The value of an environment variable; nothing when it is not defined.
using EnvironmentLookup = std::function<std::optional<std::wstring>(const std::wstring& name)>;

// Expands environment-variable references in a text; nothing when that fails.
using EnvironmentExpander = std::function<std::optional<std::wstring>(const std::wstring&)>;

// Replaces every %NAME% reference of a defined variable by its value, the way
// the platform's expansion does: a reference to an undefined variable keeps
// its opening percent sign and name, and its closing percent sign may open the
// next reference; a lone percent sign stays. Unlike the platform's function,
// which stops at 32K characters, it has no length limit.
std::wstring expandEnvironmentReferences(const std::wstring& text, const EnvironmentLookup& lookup);

// The expansion of `text`, or `text` itself when the expansion fails.
std::wstring expandOrKeep(const EnvironmentExpander& expand, const std::wstring& text);
