#pragma once
#include <optional>
#include <string>
#include <vector>

#include "util/EnvironmentExpansion.h"

// Appends the tokens of `text` to `tokens`; an empty text appends nothing.
// Only the space (U+0020) separates tokens. A double quote means something
// only as the first character of a token: the token then runs to the next
// double quote (or to the end of the text) and ends there even when no space
// follows. There is no escape character.
void tokenize(const std::wstring& text, std::vector<std::wstring>& tokens);

// The application's arguments from a process command line: white space (in
// the C library's sense) is trimmed from both ends, the text is tokenized and
// the first token, the program's own path, is dropped.
std::vector<std::wstring> argumentsFromCommandLine(const std::wstring& commandLine);

// Appends the non-empty tokens of the configured command ("Cmd") to
// `arguments`, after expanding its environment-variable references (the text
// is used unchanged when the expansion fails). An empty command appends
// nothing.
void appendConfiguredCommand(const std::wstring& command, const EnvironmentExpander& expand,
                             std::vector<std::wstring>& arguments);

// The folder to make current for an executable at `executablePath`: the text
// before its last backslash. Nothing when there is no backslash or the only
// one is the first character. C:\tool.exe gives "C:".
std::optional<std::wstring> workingDirectoryFor(const std::wstring& executablePath);
