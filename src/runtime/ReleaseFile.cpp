#include "runtime/ReleaseFile.h"

namespace {

constexpr std::string_view kVersionKey = "JAVA_VERSION=";

} // namespace

std::optional<VersionNumber> releaseFileVersion(std::string_view text)
{
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = text.size();
        }
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (line.substr(0, kVersionKey.size()) == kVersionKey) {
            std::wstring value;
            for (char c : line.substr(kVersionKey.size())) {
                // Only the version's own characters matter: digits and separators.
                if (c != '"' && c != '\r') {
                    value += static_cast<wchar_t>(static_cast<unsigned char>(c));
                }
            }
            return parseVersion(value, 0);
        }
        lineStart = lineEnd + 1;
    }
    return std::nullopt;
}
