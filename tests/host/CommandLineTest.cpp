#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/CommandLine.h"

namespace {

using Tokens = std::vector<std::wstring>;

std::string narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    }
    return out;
}

TEST(CommandLine, ArgumentsAfterTheProgramPath)
{
    struct Row {
        std::wstring commandLine;
        Tokens arguments;
    };
    const Row rows[] = {
        {L"app.exe \"a b\" c", {L"a b", L"c"}},
        {L"app.exe \"\"", {L""}},
        {L"app.exe \"C:\\dir\\\" x", {L"C:\\dir\\", L"x"}},
        {L"app.exe a\"b c\"", {L"a\"b", L"c\""}},
        {L"app.exe \"a\"b", {L"a", L"b"}},
        {L"app.exe x \"", {L"x", L""}},
        {L"app.exe \"open", {L"open"}},
        {L"app.exe a\tb", {L"a\tb"}},
        {L"app.exe a    b", {L"a", L"b"}},
        {L"app.exe a\\\"b", {L"a\\\"b"}},
        {L"\"C:\\Program Files\\My App\\app.exe\" -nosplash x", {L"-nosplash", L"x"}},
        {L"\"C:\\Program Files\\My App\\app.exe\"-x", {L"-x"}},
        {L"app.exe", {}},
        {L"", {}},
        {L"   \t\r\n ", {}},
        {L"\t app.exe a \r\n", {L"a"}},
        {L"app.exe a\t", {L"a"}},
        {L"app.exe \"\t\"", {L"\t"}},
        {L"app.exe \"unmatched quote and spaces  ", {L"unmatched quote and spaces"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(argumentsFromCommandLine(row.commandLine), row.arguments) << "\"" << narrow(row.commandLine) << "\"";
    }
}

TEST(CommandLine, TokenizeAppends)
{
    Tokens tokens{L"kept"};
    tokenize(L"", tokens);
    EXPECT_EQ(tokens, Tokens{L"kept"});
    tokenize(L"  a  ", tokens);
    // Leading spaces start an empty token: only the command line is trimmed.
    EXPECT_EQ(tokens, (Tokens{L"kept", L"", L"a"}));
}

TEST(CommandLine, LongCommandLine)
{
    // The longest command line Windows allows: 32,767 characters.
    std::wstring line = L"app.exe";
    while (line.size() + 2 <= 32767) {
        line += L" x";
    }
    const Tokens arguments = argumentsFromCommandLine(line);
    EXPECT_EQ(arguments.size(), (32767 - 7) / 2);
    const std::wstring quoted = L"app.exe \"" + std::wstring(32757, L'q');
    const Tokens one = argumentsFromCommandLine(quoted);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].size(), 32757u);
}

TEST(CommandLine, ConfiguredCommand)
{
    struct Row {
        const char* name;
        std::wstring command;
        Tokens appended;
    };
    const Row rows[] = {
        {"nothing configured", L"", {}},
        {"option and quoted words", L"--mode \"two words\"", {L"--mode", L"two words"}},
        {"two quotes alone", L"\"\"", {}},
        {"empty tokens dropped", L"\"\" a \"\" b", {L"a", L"b"}},
        {"leading spaces", L"   a", {L"a"}},
        {"expanded before splitting", L"%ARGS%", {L"-x", L"y z"}},
        {"unknown variable kept", L"%NOPE% a", {L"%NOPE%", L"a"}},
    };
    const EnvironmentExpander expand = [](const std::wstring& text) -> std::optional<std::wstring> {
        std::wstring out = text;
        const std::wstring name = L"%ARGS%";
        const std::size_t at = out.find(name);
        if (at != std::wstring::npos) {
            out.replace(at, name.size(), L"-x \"y z\"");
        }
        return out;
    };
    for (const Row& row : rows) {
        Tokens arguments{L"-nosplash"};
        appendConfiguredCommand(row.command, expand, arguments);
        Tokens expected{L"-nosplash"};
        expected.insert(expected.end(), row.appended.begin(), row.appended.end());
        EXPECT_EQ(arguments, expected) << row.name;
    }

    // A failing expansion leaves the text as configured.
    Tokens arguments;
    appendConfiguredCommand(L"%ARGS% b", [](const std::wstring&) { return std::optional<std::wstring>(); }, arguments);
    EXPECT_EQ(arguments, (Tokens{L"%ARGS%", L"b"}));
}

TEST(CommandLine, WorkingDirectoryForExecutable)
{
    struct Row {
        std::wstring path;
        std::optional<std::wstring> folder;
    };
    const Row rows[] = {
        {L"C:\\Apps\\Tool\\tool.exe", L"C:\\Apps\\Tool"},
        {L"C:\\tool.exe", L"C:"},
        {L"\\tool.exe", std::nullopt},
        {L"tool.exe", std::nullopt},
        {L"\\\\server\\share\\tool.exe", L"\\\\server\\share"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(workingDirectoryFor(row.path), row.folder) << narrow(row.path);
    }
}

} // namespace
