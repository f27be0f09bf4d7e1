#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One argument of a message: a text for "%s" or a number for "%d".
struct MessageArgument {
    MessageArgument(std::wstring textValue) : isNumber(false), text(std::move(textValue)) {}
    MessageArgument(const wchar_t* textValue) : isNumber(false), text(textValue ? textValue : L"") {}
    MessageArgument(std::int32_t numberValue) : isNumber(true), number(numberValue) {}

    bool isNumber;
    std::wstring text;
    std::int32_t number = 0;
};

// printf-style formatting of a string-table text: "%s" takes the next
// argument as text, "%d" as a signed decimal number, "%%" is a percent sign.
// A placeholder without a matching argument becomes empty (a number
// placeholder given a text shows the text, and the reverse shows the number),
// so a damaged format never reads past its arguments. No length limit.
std::wstring formatMessage(const std::wstring& format, const std::vector<MessageArgument>& arguments);
