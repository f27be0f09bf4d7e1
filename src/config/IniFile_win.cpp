#include "config/IniFile_win.h"

#include <climits>

#include "util/AsciiText.h"
#include "util/GrowBuffer.h"
#include "util/UniqueHandle_win.h"

namespace {

constexpr std::size_t kInitialBuffer = 256;
// Far beyond any sensible configuration value; only a runaway file gets here,
// and its value is then taken as cut.
constexpr std::size_t kLargestBuffer = std::size_t{1} << 26;

// Section names as the profile functions compare them: without regard to case
// and to the blanks around them.
std::wstring trimmedBlanks(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) {
        return std::wstring();
    }
    const std::size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

bool sameSectionName(const std::wstring& a, const std::wstring& b)
{
    const std::wstring left = trimmedBlanks(a);
    const std::wstring right = trimmedBlanks(b);
    if (left.size() > static_cast<std::size_t>(INT_MAX) || right.size() > static_cast<std::size_t>(INT_MAX)) {
        return true;
    }
    return ::CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                  static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

bool IniFile::mayHaveSection(const std::wstring& section) const
{
    if (!sectionNamesRead_) {
        listSections(sectionNames_);
        sectionNamesRead_ = true;
    }
    for (const std::wstring& name : sectionNames_) {
        if (sameSectionName(name, section)) {
            return true;
        }
    }
    return false;
}

bool IniFile::mayHaveKey(const std::wstring& section, const std::wstring& key) const
{
    const std::wstring* text = nullptr;
    for (const auto& known : sectionTexts_) {
        if (known.first == section) {
            text = &known.second;
        }
    }
    if (text == nullptr) {
        // A cut text is reported as the buffer size minus two.
        std::wstring lines = readWithGrowingBuffer(kInitialBuffer, kLargestBuffer, [&](wchar_t* buffer, std::size_t size) {
            const DWORD length = ::GetPrivateProfileSectionW(section.c_str(), buffer, static_cast<DWORD>(size),
                                                             path_.c_str());
            return GrowAttempt{length, size >= 2 && length == size - 2};
        });
        for (wchar_t& c : lines) {
            c = asciiLower(c);
        }
        sectionTexts_.emplace_back(section, std::move(lines));
        text = &sectionTexts_.back().second;
    }
    std::wstring wanted = trimmedBlanks(key);
    for (wchar_t& c : wanted) {
        if (c > 0x7F) {
            return true;  // compared by the platform's rules only
        }
        c = asciiLower(c);
    }
    return wanted.empty() || text->find(wanted) != std::wstring::npos;
}

std::uint32_t IniFile::probe(std::array<std::uint8_t, 4>& buffer) const
{
    UniqueFileHandle file(::CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return ::GetLastError();
    }
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
        return ::GetLastError();
    }
    return 0;
}

void IniFile::getValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const
{
    if (!mayHaveSection(section) || !mayHaveKey(section, key)) {
        value.clear();
        return;
    }
    // The call returns the buffer size minus one when the value may have been
    // cut; the buffer then doubles.
    value = readWithGrowingBuffer(kInitialBuffer, kLargestBuffer, [&](wchar_t* buffer, std::size_t size) {
        const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer,
                                                        static_cast<DWORD>(size), path_.c_str());
        return GrowAttempt{length, length == size - 1};
    });
}

void IniFile::listSections(std::vector<std::wstring>& names) const
{
    names.clear();
    // The names come as a sequence of NUL-ended strings; a cut list is
    // reported as the buffer size minus two.
    const std::wstring all = readWithGrowingBuffer(kInitialBuffer, kLargestBuffer, [&](wchar_t* buffer, std::size_t size) {
        const DWORD length = ::GetPrivateProfileSectionNamesW(buffer, static_cast<DWORD>(size), path_.c_str());
        return GrowAttempt{length, size >= 2 && length == size - 2};
    });
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find(L'\0', start);
        if (end == std::wstring::npos) {
            end = all.size();
        }
        if (end > start) {
            names.push_back(all.substr(start, end - start));
        }
        start = end + 1;
    }
}

std::int32_t IniFile::setValue(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    sectionNamesRead_ = false;
    sectionTexts_.clear();
    return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

bool IniFile::removeStore()
{
    sectionNamesRead_ = false;
    sectionTexts_.clear();
    return ::DeleteFileW(path_.c_str()) != FALSE;
}
