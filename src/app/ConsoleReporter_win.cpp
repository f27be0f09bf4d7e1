#include "app/ConsoleReporter_win.h"

#include <windows.h>

#include "ui/RuntimeNotFoundDialogIds.h"
#include "util/MessageText_win.h"
#include "util/TextConversion_win.h"

namespace {

// Writes `text` to standard error, each line ending with CR LF as Windows
// programs write them, and a line break at its end. A console gets the
// characters themselves; a pipe or file the console's code page.
void writeToStandardError(const std::wstring& text)
{
    if (text.empty()) {
        return;
    }
    std::wstring lines;
    lines.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
            lines += L'\r';
        }
        lines += text[i];
    }
    if (lines.back() != L'\n') {
        lines += L"\r\n";
    }
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(error, &mode)) {
        ::WriteConsoleW(error, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        return;
    }
    const UINT codePage = ::GetConsoleOutputCP() != 0 ? ::GetConsoleOutputCP() : CP_ACP;
    // No best fit: a character the code page lacks shows as "?", not as a
    // look-alike that would name another file.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const std::string bytes = narrowText(lines, codePage, flags);
    ::WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The text without the blank lines at its end (a failure that has no words
// of the runtime's to add leaves them empty).
std::wstring withoutTrailingBlankLines(std::wstring text)
{
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    return text;
}

} // namespace

void ConsoleReporter::reportFailure(const Failure& failure)
{
    if (failure.messageId != 0) {
        writeToStandardError(withoutTrailingBlankLines(failureText(failure)));
    }
}

void ConsoleReporter::reportStartRefused(const Failure& failure)
{
    // The runtime has written its own words straight to standard error: one
    // line after them says what could not be started.
    std::wstring summary = withoutTrailingBlankLines(failureText(failure));
    for (wchar_t& c : summary) {
        c = c == L'\n' ? L' ' : c;
    }
    writeToStandardError(summary);
}

std::optional<RuntimeChoice> ConsoleReporter::askForRuntime(const std::wstring& message, const std::wstring& searched,
                                                            const std::wstring& downloadPage,
                                                            const RuntimeFolderProbe&)
{
    writeToStandardError(message + L" " + (downloadPage.empty() ? L"" RUNTIME_DOWNLOAD_PAGE : downloadPage) +
                         L"\nSearched: " + searched);
    return std::nullopt;
}

ExceptionChoice ConsoleReporter::askAfterException(const std::optional<std::wstring>& trace)
{
    if (trace) {
        writeToStandardError(*trace);
    }
    return ExceptionChoice::NoDialog;
}
