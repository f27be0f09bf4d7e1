#include "config/IniDocument.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cwctype>

namespace {

// Characters that the parser treats as blank before a line and after a
// section header: code 32 or less (space and every control character).
bool isBlankOrControl(wchar_t c)
{
    // Compared as unsigned: on Linux wchar_t is signed and text from outside
    // may hold values that are no character at all.
    return static_cast<std::uint32_t>(c) <= 32u;
}

bool isWideSpace(wchar_t c)
{
    return std::iswspace(static_cast<std::wint_t>(c)) != 0;
}

// Removes trailing, then leading, white space in the C library's sense.
std::wstring trimmedWide(const std::wstring& text, std::size_t begin, std::size_t end)
{
    while (end > begin && isWideSpace(text[end - 1])) {
        --end;
    }
    while (begin < end && isWideSpace(text[begin])) {
        ++begin;
    }
    return text.substr(begin, end - begin);
}

} // namespace

void IniDocument::parse(const std::wstring& text)
{
    sections_.clear();
    const std::wstring lineEnd = L"\r\n";
    bool haveSection = false;  // an index, not a pointer: the array grows
    std::size_t lineStart = 0;
    bool firstLine = true;
    // Lines are visited in place, so that memory stays proportional to the
    // text plus what is stored.
    while (lineStart < text.size()) {
        std::size_t lineStop = text.find(lineEnd, lineStart);
        const std::size_t next = lineStop == std::wstring::npos ? text.size() : lineStop + lineEnd.size();
        if (lineStop == std::wstring::npos) {
            lineStop = text.size();
        }
        std::size_t begin = lineStart;
        if (firstLine && begin < lineStop && text[begin] == L'\xFEFF') {
            ++begin;
        }
        firstLine = false;
        lineStart = next;

        const std::size_t lineBegin = begin;
        while (begin < lineStop && isBlankOrControl(text[begin])) {
            ++begin;
        }
        if (begin == lineStop) {
            continue;
        }
        if (text[begin] == L'[') {
            // A line that starts with "[" is a header or nothing: it never
            // becomes a pair.
            std::size_t end = lineStop;
            while (end > begin && isBlankOrControl(text[end - 1])) {
                --end;
            }
            if (end - begin >= 2 && text[end - 1] == L']') {
                sections_.push_back(Section{text.substr(begin + 1, end - begin - 2), {}});
                haveSection = true;
            }
            continue;
        }
        if (!haveSection) {
            continue;
        }
        // Searched within the line only, so a long text of lines without "="
        // stays linear.
        const auto equalsAt = std::find(text.begin() + static_cast<std::ptrdiff_t>(lineBegin),
                                        text.begin() + static_cast<std::ptrdiff_t>(lineStop), L'=');
        if (equalsAt == text.begin() + static_cast<std::ptrdiff_t>(lineStop)) {
            continue;
        }
        const std::size_t equals = static_cast<std::size_t>(equalsAt - text.begin());
        sections_.back().pairs.push_back(Pair{trimmedWide(text, lineBegin, equals), trimmedWide(text, equals + 1, lineStop)});
    }
}

std::uint32_t IniDocument::probe(std::array<std::uint8_t, 4>& buffer) const
{
    buffer.fill(0);
    return 1;
}

const std::wstring* IniDocument::findValue(const std::wstring& section, const std::wstring& key) const
{
    for (const Section& candidate : sections_) {
        if (candidate.name != section) {
            continue;
        }
        for (const Pair& pair : candidate.pairs) {
            if (pair.key == key) {
                return &pair.value;
            }
        }
        return nullptr;  // only the first section of a name is searched
    }
    return nullptr;
}

void IniDocument::getValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const
{
    if (const std::wstring* found = findValue(section, key)) {
        value = *found;
    }
}

void IniDocument::listSections(std::vector<std::wstring>& names) const
{
    names.clear();
    for (const Section& section : sections_) {
        names.push_back(section.name);
    }
}

std::int32_t IniDocument::setValue(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    for (Section& candidate : sections_) {
        if (candidate.name == section) {
            candidate.pairs.push_back(Pair{key, value});
            return 1;
        }
    }
    sections_.push_back(Section{section, {Pair{key, value}}});
    return 1;
}

bool IniDocument::removeStore()
{
    return true;
}
