// The command-line tokenizer, the program-path drop and the configured command.
#include <optional>
#include <vector>

#include "FuzzInput.h"
#include "util/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = wideFromFuzzBytes(data, size);

    std::vector<std::wstring> tokens;
    tokenize(text, tokens);
    std::size_t characters = 0;
    for (const std::wstring& token : tokens) {
        characters += token.size();
    }
    // Tokens only ever hold characters of the text, each at most once.
    fuzzCheck(characters <= text.size());
    fuzzCheck(tokens.size() <= text.size());
    fuzzCheck(text.empty() == tokens.empty());

    // Trimming may change where tokens start, so only the sizes are bounded.
    std::size_t argumentCharacters = 0;
    for (const std::wstring& argument : argumentsFromCommandLine(text)) {
        argumentCharacters += argument.size();
    }
    fuzzCheck(argumentCharacters <= text.size());

    std::vector<std::wstring> appended;
    appendConfiguredCommand(text, [](const std::wstring& value) { return std::optional<std::wstring>(value); },
                            appended);
    for (const std::wstring& argument : appended) {
        fuzzCheck(!argument.empty());
    }
    (void)workingDirectoryFor(text);
    return 0;
}
