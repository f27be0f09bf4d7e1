// The embedded settings parser, the layered lookup and the resource decoder
// on arbitrary input.
#include <memory>

#include "FuzzInput.h"
#include "config/EmbeddedSettings.h"
#include "config/IniDocument.h"
#include "config/LayeredIniFile.h"
#include "config/SplitList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = wideFromFuzzBytes(data, size);

    IniDocument document;
    document.parse(text);
    std::size_t stored = 0;
    for (const IniDocument::Section& section : document.sections()) {
        stored += section.name.size();
        for (const IniDocument::Pair& pair : section.pairs) {
            stored += pair.key.size() + pair.value.size();
            // Lookups find the first pair of a key in the first section of a name.
            std::wstring value;
            document.getValue(section.name, pair.key, value);
        }
    }
    fuzzCheck(stored <= text.size());

    // The same text as file part and embedded part of a layered store.
    auto file = std::make_unique<IniDocument>();
    file->parse(text);
    LayeredIniFile layered(std::move(file));
    layered.document().parse(text);
    if (!document.sections().empty() && !document.sections()[0].pairs.empty()) {
        const std::wstring value = layered.readValue(document.sections()[0].name, document.sections()[0].pairs[0].key);
        fuzzCheck(value.size() <= 2 * text.size() + 1);
    }
    std::wstring value;
    layered.getValue(L"Application", L"Cmd", value);

    const std::vector<std::wstring> items = splitList(text, L";");
    fuzzCheck(items.size() <= text.size());

    const std::wstring decoded = decodeEmbeddedSettings(data, size);
    fuzzCheck(decoded.size() <= 2 * size);
    return 0;
}
