#include "util/Failure.h"

#include "util/MessageIds.h"

Failure windowsFailure(int detailId, std::uint32_t errorCode)
{
    Failure failure = failureOf(IDS_WINDOWS_EXCEPTION,
                                {MessageArgument::textOf(detailId), static_cast<std::int32_t>(errorCode)});
    failure.windowsError = errorCode;
    return failure;
}

std::wstring failureText(const Failure& failure, std::wstring (*loadMessage)(int id))
{
    std::wstring text = formatMessage(loadMessage(failure.messageId), failure.arguments, loadMessage);
    if (!failure.runtimeWords.empty()) {
        text += L'\n';
        text += failure.runtimeWords;
    }
    return text;
}
