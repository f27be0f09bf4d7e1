// The date-time pattern of an output file name ("Output File",
// "Error File"), expanded with formatters that mark what they were given.
#include "FuzzInput.h"
#include "jvm/DateTimePattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFields fields{data, size};
    const unsigned milliseconds = static_cast<unsigned>(fields.take(4));
    const std::uint64_t refusals = fields.take(1);
    const std::wstring name = wideFromFuzzBytes(fields.data, fields.size);

    int timeCalls = 0;
    int dateCalls = 0;
    std::wstring timeReturned;
    const PictureFormatter formatTime = [&](const std::wstring& picture) -> std::optional<std::wstring> {
        ++timeCalls;
        // The milliseconds are in before the platform sees the picture.
        fuzzCheck(!picture.empty() && picture.find(L'L') == std::wstring::npos);
        if ((refusals & 1) != 0) {
            return std::nullopt;
        }
        timeReturned = L"<" + picture + L">";
        return timeReturned;
    };
    const PictureFormatter formatDate = [&](const std::wstring& picture) -> std::optional<std::wstring> {
        ++dateCalls;
        fuzzCheck(picture == timeReturned);
        if ((refusals & 2) != 0) {
            return std::nullopt;
        }
        return L"{" + picture + L"}";
    };
    const std::wstring expanded = expandDateTimePattern(name, milliseconds, formatTime, formatDate);

    const std::size_t first = name.find(L'%');
    if (first == std::wstring::npos) {
        fuzzCheck(expanded == name && timeCalls == 0);
        return 0;
    }
    // The text outside the outermost signs stays; between them, the pattern
    // with every "L" as the milliseconds went through both formatters, or
    // nothing is left when one refused.
    const std::size_t last = name.rfind(L'%');
    const std::wstring pattern = last > first ? name.substr(first + 1, last - first - 1) : std::wstring();
    std::wstring withMillis;
    for (wchar_t c : pattern) {
        withMillis += c == L'L' ? std::to_wstring(milliseconds % 1000) : std::wstring(1, c);
    }
    fuzzCheck(timeCalls == (pattern.empty() ? 0 : 1) && dateCalls <= timeCalls);
    const bool formatted = !pattern.empty() && refusals % 4 == 0;
    const std::wstring middle = formatted ? L"{<" + withMillis + L">}" : std::wstring();
    fuzzCheck(expanded == name.substr(0, first) + middle + name.substr(last + 1));
    return 0;
}
