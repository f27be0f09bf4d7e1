#include "util/CommandLine.h"

#include <cwctype>

#include "util/PathText.h"

void tokenize(const std::wstring& text, std::vector<std::wstring>& tokens)
{
    const std::size_t n = text.size();
    std::size_t p = 0;
    while (p < n) {
        if (text[p] == L'"') {
            ++p;
            if (p == n) {
                tokens.emplace_back();
                return;
            }
            const std::size_t closing = text.find(L'"', p);
            if (closing == std::wstring::npos) {
                tokens.push_back(text.substr(p));
                return;
            }
            tokens.push_back(text.substr(p, closing - p));
            p = closing + 1;
        } else {
            const std::size_t space = text.find(L' ', p);
            if (space == std::wstring::npos) {
                tokens.push_back(text.substr(p));
                return;
            }
            tokens.push_back(text.substr(p, space - p));
            p = space;
        }
        while (p < n && text[p] == L' ') {
            ++p;
        }
    }
}

std::vector<std::wstring> argumentsFromCommandLine(const std::wstring& commandLine)
{
    const auto isSpace = [](wchar_t c) { return std::iswspace(static_cast<std::wint_t>(c)) != 0; };
    std::size_t begin = 0;
    std::size_t end = commandLine.size();
    while (begin < end && isSpace(commandLine[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(commandLine[end - 1])) {
        --end;
    }
    std::vector<std::wstring> tokens;
    tokenize(commandLine.substr(begin, end - begin), tokens);
    if (!tokens.empty()) {
        tokens.erase(tokens.begin());
    }
    return tokens;
}

void appendConfiguredCommand(const std::wstring& command, const EnvironmentExpander& expand,
                             std::vector<std::wstring>& arguments)
{
    if (command.empty()) {
        return;
    }
    std::vector<std::wstring> tokens;
    tokenize(expand ? expandOrKeep(expand, command) : command, tokens);
    for (std::wstring& token : tokens) {
        if (!token.empty()) {
            arguments.push_back(std::move(token));
        }
    }
}

std::optional<std::wstring> workingDirectoryFor(const std::wstring& executablePath)
{
    std::wstring folder = folderWithSeparator(executablePath);
    if (folder.size() <= 1) {
        return std::nullopt;
    }
    folder.pop_back();
    return folder;
}
