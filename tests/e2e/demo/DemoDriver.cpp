// Starts a program under Wine the way a user would, prints the texts of the
// boxes it shows (pressing their default button, so nobody has to), what it
// wrote to its standard output and error, and its exit code.
// Usage: demo_driver <program> [arguments...]
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/Scenario.h"

namespace {

void printWide(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// Prints a captured stream under a heading, each line indented.
void printStream(const char* heading, const std::string& text)
{
    std::printf("%s\n", heading);
    if (text.empty()) {
        std::printf("    (nothing)\n");
        return;
    }
    std::string line;
    for (char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            std::printf("    %s\n", line.c_str());
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        std::printf("    %s\n", line.c_str());
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo_driver <program> [arguments...]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    std::wstring commandLine = L"\"" + program + L"\"";
    for (int i = 2; i < argc; ++i) {
        commandLine += L" ";
        commandLine += argv[i];
    }
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    const RunResult result = runProcess(program, commandLine, folder, 120000, [](const DialogInfo& dialog) {
        printWide(L"The launcher shows a box \"" + dialog.title + L"\" saying:\n    " + dialog.text + L"\n");
        std::fflush(stdout);
        return pressDefaultButton(dialog);
    }, true);
    printStream("What the application wrote to its standard output:", result.standardOutput);
    printStream("What the application wrote to its standard error:", result.standardError);
    if (result.timedOut) {
        std::printf("The program did not end within two minutes and was stopped.\n");
        return 1;
    }
    std::printf("Exit code: %ld (0x%08lX)\n", static_cast<long>(static_cast<LONG>(result.exitCode)),
                static_cast<unsigned long>(result.exitCode));
    return 0;
}
