#include "util/EnvironmentExpansion.h"

std::wstring expandEnvironmentReferences(const std::wstring& text, const EnvironmentLookup& lookup)
{
    std::wstring result;
    result.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find(L'%', position);
        if (open == std::wstring::npos) {
            result.append(text, position, std::wstring::npos);
            break;
        }
        result.append(text, position, open - position);
        const std::size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            result.append(text, open, std::wstring::npos);
            break;
        }
        const std::optional<std::wstring> value =
            close > open + 1 ? lookup(text.substr(open + 1, close - open - 1)) : std::nullopt;
        if (value) {
            result += *value;
            position = close + 1;
        } else {
            // Undefined: keep "%NAME" and go on at the closing percent sign.
            result.append(text, open, close - open);
            position = close;
        }
    }
    return result;
}

std::wstring expandOrKeep(const EnvironmentExpander& expand, const std::wstring& text)
{
    std::optional<std::wstring> expanded = expand(text);
    return expanded ? std::move(*expanded) : text;
}
