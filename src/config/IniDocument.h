#pragma once
#include <string>
#include <vector>

#include "config/ConfigStore.h"

// An INI text parsed in memory (the embedded settings text). Section and key
// names compare exactly, code unit by code unit. Duplicates are kept in their
// order: lookups find the first section of a name and its first pair of a key.
class IniDocument : public ConfigStore {
public:
    struct Pair {
        std::wstring key;
        std::wstring value;
    };
    struct Section {
        std::wstring name;
        std::vector<Pair> pairs;
    };

    IniDocument() = default;

    // Replaces the whole content by the sections of `text`. Lines end only at
    // "\r\n"; a leading U+FEFF is dropped; "[name]" opens a new section (also
    // when the name was seen before); in a section, the first "=" of a line
    // splits key from value, both trimmed; every other line is ignored. There
    // are no comments, quotes, escapes or continuation lines.
    void parse(const std::wstring& text);

    const std::vector<Section>& sections() const { return sections_; }

    // Writes 0 into the buffer and returns 1: there is no backing file.
    std::uint32_t probe(std::array<std::uint8_t, 4>& buffer) const override;

    // Copies the value when the section and the key exist; otherwise leaves
    // `value` unchanged.
    void getValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const override;

    // Every section name in order, duplicates included.
    void listSections(std::vector<std::wstring>& names) const override;

    // Appends a pair to the first section of that name (appending the section
    // when missing); an older pair with the same key keeps being found first.
    // Returns 1.
    std::int32_t setValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;

    // Nothing to remove; returns true.
    bool removeStore() override;

    // The pair's value, or null when the section or key is missing.
    const std::wstring* findValue(const std::wstring& section, const std::wstring& key) const;

private:
    std::vector<Section> sections_;
};
