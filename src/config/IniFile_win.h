#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "config/ConfigStore.h"

// One INI file on disk, read and written through the platform's profile-string
// functions: names match without regard to case, quotes around a value are
// removed, lines starting with ";" are comments, a file starting with the
// UTF-16LE byte-order mark is read as UTF-16 and any other in the ANSI code
// page. A missing file, section or key reads as the empty string.
class IniFile : public ConfigStore {
public:
    // `path` should be a full path: the profile functions look for a bare
    // file name in the Windows folder.
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& path() const { return path_; }

    // Opens the file for reading without sharing and reads up to four bytes;
    // 0 or the platform's error code.
    std::uint32_t probe(std::array<std::uint8_t, 4>& buffer) const override;

    // Always assigns `value` (empty when absent); values of any length are
    // read whole.
    void getValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const override;

    void listSections(std::vector<std::wstring>& names) const override;

    // WritePrivateProfileStringW: creates the file, section or key as needed.
    std::int32_t setValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;

    // Deletes the file.
    bool removeStore() override;

private:
    // True unless the file certainly has no section of that name.
    bool mayHaveSection(const std::wstring& section) const;
    // True unless the section certainly has no key of that name: the key's
    // name (in any ASCII letter case) appears nowhere in the section's text.
    bool mayHaveKey(const std::wstring& section, const std::wstring& key) const;

    std::wstring path_;
    // The file's section names, read on the first lookup: a key of a section
    // the file does not have is empty without asking the platform again
    // (each profile call opens the file anew).
    mutable std::vector<std::wstring> sectionNames_;
    mutable bool sectionNamesRead_ = false;
    // The text of each section looked into so far (its lines, NUL-separated),
    // read once: most keys the launcher asks for are absent, and each profile
    // call opens and reads the file anew.
    mutable std::vector<std::pair<std::wstring, std::wstring>> sectionTexts_;
};
