#include "util/MessageFormat.h"

namespace {

std::wstring argumentText(const MessageArgument& argument, std::wstring (*loadMessage)(int id))
{
    if (!argument.isNumber) {
        if (argument.messageId != 0) {
            return loadMessage != nullptr ? loadMessage(argument.messageId) : std::wstring();
        }
        return argument.text;
    }
    // Decimal digits of a signed 32-bit value, without going through the
    // C library's locale.
    const bool negative = argument.number < 0;
    std::uint32_t magnitude = negative ? 0u - static_cast<std::uint32_t>(argument.number)
                                       : static_cast<std::uint32_t>(argument.number);
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        digits.insert(digits.begin(), L'-');
    }
    return digits;
}

} // namespace

std::wstring formatMessage(const std::wstring& format, const std::vector<MessageArgument>& arguments,
                           std::wstring (*loadMessage)(int id))
{
    std::wstring result;
    result.reserve(format.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        if (c != L'%' || i + 1 >= format.size()) {
            result += c;
            continue;
        }
        const wchar_t kind = format[i + 1];
        if (kind == L'%') {
            result += L'%';
            ++i;
        } else if (kind == L's' || kind == L'd') {
            if (next < arguments.size()) {
                result += argumentText(arguments[next], loadMessage);
            }
            ++next;
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}
