// The version parser and the operations on parsed versions.
#include <functional>

#include "FuzzInput.h"
#include "config/VersionNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = wideFromFuzzBytes(data, size);
    const std::size_t half = text.size() / 2;
    const std::wstring first = text.substr(0, half);
    const std::wstring second = text.substr(half);

    for (std::int32_t fill : {kVersionFillLower, kVersionFillUpper}) {
        if (const std::optional<VersionNumber> parsed = parseVersion(text, fill)) {
            for (std::int32_t component : parsed->components) {
                fuzzCheck(component >= 0);
            }
            // The display text parses back to the same significant components.
            const std::wstring shown = formatVersion(*parsed);
            const std::optional<VersionNumber> again = parseVersion(shown, kVersionFillLower);
            fuzzCheck(again.has_value());
            fuzzCheck(compareVersions(*parsed, *parsed) == 0);
            fuzzCheck(matchesPreferredVersion(*parsed, *parsed));
        }
    }

    const VersionRange range = versionRangeFromSettings(first, second);
    const VersionNumber candidate = parseVersion(second, kVersionFillLower).value_or(VersionNumber{});
    (void)inRange(candidate, range);
    const VersionNumber lower = range.lower;
    const int forward = compareVersions(lower, candidate);
    const int backward = compareVersions(candidate, lower);
    fuzzCheck(forward == -backward);

    const std::wstring phrase = describeVersionRange(range, [](int) { return std::wstring(L"%s %s"); });
    fuzzCheck(!phrase.empty());
    return 0;
}
