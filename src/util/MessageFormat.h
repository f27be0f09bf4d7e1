#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One argument of a message: a text for "%s" or a number for "%d". A text may
// also be named by its string-table id, to be looked up when the message is
// put together.
struct MessageArgument {
    MessageArgument(std::wstring textValue) : isNumber(false), text(std::move(textValue)) {}
    MessageArgument(const wchar_t* textValue) : isNumber(false), text(textValue ? textValue : L"") {}
    MessageArgument(std::int32_t numberValue) : isNumber(true), number(numberValue) {}

    // The text of string-table entry `id`.
    static MessageArgument textOf(int id)
    {
        MessageArgument argument(L"");
        argument.messageId = id;
        return argument;
    }

    bool isNumber;
    std::wstring text;
    std::int32_t number = 0;
    int messageId = 0;  // non-zero: the text is that string-table entry's
};

// printf-style formatting of a string-table text: "%s" takes the next
// argument as text, "%d" as a signed decimal number, "%%" is a percent sign.
// A placeholder without a matching argument becomes empty (a number
// placeholder given a text shows the text, and the reverse shows the number),
// so a damaged format never reads past its arguments. No length limit.
// A text argument named by its string-table id is looked up with
// `loadMessage` (empty without one).
std::wstring formatMessage(const std::wstring& format, const std::vector<MessageArgument>& arguments,
                           std::wstring (*loadMessage)(int id) = nullptr);
