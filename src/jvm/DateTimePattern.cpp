#include "jvm/DateTimePattern.h"

#include "util/AsciiText.h"

std::wstring expandDateTimePattern(const std::wstring& name, unsigned milliseconds, const PictureFormatter& formatTime,
                                   const PictureFormatter& formatDate)
{
    const std::size_t first = name.find(L'%');
    if (first == std::wstring::npos) {
        return name;
    }
    const std::size_t last = name.rfind(L'%');
    std::wstring pattern = last > first ? name.substr(first + 1, last - first - 1) : std::wstring();

    const std::wstring millis = decimalText(milliseconds % 1000);
    std::wstring withMillis;
    for (wchar_t c : pattern) {
        if (c == L'L') {
            withMillis += millis;
        } else {
            withMillis += c;
        }
    }

    std::wstring formatted;
    if (!withMillis.empty()) {
        const std::optional<std::wstring> time = formatTime(withMillis);
        const std::optional<std::wstring> date = time ? formatDate(*time) : std::nullopt;
        if (date) {
            formatted = *date;
        }
    }
    return name.substr(0, first) + formatted + name.substr(last + 1);
}
