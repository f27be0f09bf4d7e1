#pragma once
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "config/IniDocument.h"

// The settings store of the launcher: a file part (the configuration file on
// disk, or any store standing in for it) layered over a document part (the
// embedded settings text). The file overrides the embedded text and may
// extend it through an extension section named like the section with "+"
// appended. Every operation other than getValue is the file part's.
class LayeredIniFile : public ConfigStore {
public:
    // Takes the file part; the caller then parses the embedded settings text
    // into document().
    explicit LayeredIniFile(std::unique_ptr<ConfigStore> file);

    IniDocument& document() { return document_; }
    const IniDocument& document() const { return document_; }
    const ConfigStore& file() const { return *file_; }

    std::uint32_t probe(std::array<std::uint8_t, 4>& buffer) const override;

    // Always assigns `value`: the embedded value, replaced by a non-empty file
    // value, or else extended by a non-empty value of the same key in the
    // file's extension section (joined with one space unless that value
    // already begins with a space; the space is added even to an empty
    // embedded value).
    void getValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const override;

    void listSections(std::vector<std::wstring>& names) const override;
    std::int32_t setValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    bool removeStore() override;

private:
    std::unique_ptr<ConfigStore> file_;
    IniDocument document_;
};
