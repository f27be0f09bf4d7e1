// The "Virtual Machine Parameters" text of a settings file: the splitter, the
// unquoting, the percentage memory options and the stack size, then the
// whole option assembly.
#include <limits>

#include "FuzzInput.h"
#include "jvm/MemoryOptions.h"
#include "jvm/VmOptions.h"

namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring withoutQuotes(const std::wstring& text)
{
    std::wstring result;
    for (wchar_t c : text) {
        if (c != L'"') {
            result += c;
        }
    }
    return result;
}

std::uint64_t saturatingProduct(std::uint64_t a, std::uint64_t b) { return a != 0 && b > kMaxU64 / a ? kMaxU64 : a * b; }

// The tokens, in order, are the text with its runs of spaces taken out.
void checkSplit(const std::wstring& text, const std::vector<std::wstring>& tokens)
{
    std::size_t position = 0;
    for (const std::wstring& token : tokens) {
        fuzzCheck(!token.empty() && token[0] != L' ');
        while (position < text.size() && text[position] == L' ') {
            ++position;
        }
        fuzzCheck(text.compare(position, token.size(), token) == 0);
        position += token.size();
        fuzzCheck(position == text.size() || text[position] == L' ');
        // A token's quotes pair up the same way on their own.
        fuzzCheck(splitVmParameters(token) == std::vector<std::wstring>{token});
    }
    fuzzCheck(text.find_first_not_of(L' ', position) == std::wstring::npos);
}

void checkNumberList(const std::wstring& text)
{
    const NumberList list = readNumberList(text);
    fuzzCheck(list.start <= text.size());
    for (std::size_t i = 0; i < list.start; ++i) {
        fuzzCheck(!isDigit(text[i]) && text[i] != L':');
    }
    if (list.start == text.size()) {
        fuzzCheck(list.values.empty());
        return;
    }
    std::size_t colons = 0;
    for (std::size_t i = list.start; i + 1 < text.size(); ++i) {
        colons += text[i] == L':' ? 1 : 0;
    }
    fuzzCheck(list.values.size() == colons + 1);
}

// The size a percentage option becomes stays within its bounds, and a
// rewritten "-Xss" gives the stack size it names.
void checkPercentOption(const std::wstring& option, const MemoryStatus& memory)
{
    const std::wstring rewritten = rewritePercentMemoryOption(option, memory);
    const NumberList list = readNumberList(option);
    fuzzCheck(rewritten.compare(0, list.start, option, 0, list.start) == 0);
    fuzzCheck(rewritten.size() >= list.start + 2 && rewritten.back() == L'K');
    std::uint64_t sizeKb = 0;
    for (std::size_t i = list.start; i + 1 < rewritten.size(); ++i) {
        fuzzCheck(isDigit(rewritten[i]));
        const unsigned digit = static_cast<unsigned>(rewritten[i] - L'0');
        fuzzCheck(sizeKb <= (kMaxU64 - digit) / 10);
        sizeKb = sizeKb * 10 + digit;
    }
    auto value = [&](std::size_t index) { return index < list.values.size() ? list.values[index] : 0; };
    const std::uint64_t minimumKb = saturatingProduct(value(1), 1024);
    const std::uint64_t maximumKb = saturatingProduct(value(2), 1024);
    fuzzCheck(sizeKb >= minimumKb);
    if (value(2) != 0 && minimumKb <= maximumKb) {
        fuzzCheck(sizeKb <= maximumKb);
    }
    const wchar_t unit = option.back();
    const std::uint64_t baseKb = ((unit == L'T' || unit == L't') ? memory.availableVirtualBytes : memory.totalPhysicalBytes) >> 10;
    if (value(0) <= 100 && minimumKb == 0) {
        fuzzCheck(sizeKb <= baseKb);
    }
    if (option.compare(0, 4, L"-Xss") == 0 && list.start == 4) {
        fuzzCheck(deriveThreadStackSize(rewritten) == saturatingProduct(sizeKb, 1024));
    }
}

// "-Xss<n><unit>" gives n times the unit, saturated.
void checkStackSize(FuzzFields fields)
{
    const std::uint64_t number = fields.take(8);
    const wchar_t units[] = {L'k', L'K', L'm', L'M', L'g', L'G', L'b', L'\0'};
    const std::uint64_t multipliers[] = {1u << 10, 1u << 10, 1u << 20, 1u << 20, 1u << 30, 1u << 30, 1, 1};
    const std::size_t choice = fields.take(1) % 8;
    std::wstring token = L"-Xss" + std::to_wstring(number);
    if (units[choice] != L'\0') {
        token += units[choice];
    }
    fuzzCheck(deriveThreadStackSize(token) == saturatingProduct(number, multipliers[choice]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = wideFromFuzzBytes(data, size);
    FuzzFields fields{data, size};
    // Up to 256 TiB, where the share computed in floating point is exact.
    MemoryStatus memory;
    memory.totalPhysicalBytes = fields.take(6);
    memory.availableVirtualBytes = fields.take(6);
    checkStackSize(fields);
    checkNumberList(text);

    const std::vector<std::wstring> tokens = splitVmParameters(text);
    checkSplit(text, tokens);
    for (const std::wstring& token : tokens) {
        // Unquoting only takes quotes out.
        const std::wstring option = unquoteToken(token);
        fuzzCheck(option.size() <= token.size());
        fuzzCheck(withoutQuotes(option) == withoutQuotes(token));
        if (isPercentMemoryOption(option)) {
            checkPercentOption(option, memory);
        }
        if (!option.empty()) {
            const bool wildcard = classifyClassPathEntry(option) == ClassPathEntryKind::Wildcard;
            fuzzCheck(wildcard == (option.find(L'*') != std::wstring::npos));
        }
    }

    // The whole assembly: one option per token after the class path.
    LaunchOptionSettings settings;
    settings.classPath = {L"\\lib\\*.jar", L"C:\\app\\main.jar"};
    settings.vmParameters = text;
    VmOptionServices services;
    services.expandEnvironment = [](const std::wstring& value) { return std::optional<std::wstring>(value); };
    services.listMatches = [](const std::wstring&) { return std::vector<std::wstring>{L"a.jar"}; };
    services.memoryStatus = [&] { return memory; };
    services.toAnsi = [](const std::wstring& value) -> Expected<std::string> {
        return std::string(value.begin(), value.end());
    };
    std::vector<std::wstring> arguments;
    const Expected<VmOptionAssembly> assembly =
        assembleVmOptions(settings, L"C:\\app\\app.exe", L"C:\\app\\", services, arguments);
    fuzzCheck(assembly && assembly->options.size() == tokens.size() + 1);
    fuzzCheck(assembly->options[0] == "-Djava.class.path=C:\\app\\lib\\a.jar;C:\\app\\main.jar");
    return 0;
}
