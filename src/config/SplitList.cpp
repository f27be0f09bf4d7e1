#include "config/SplitList.h"

std::vector<std::wstring> splitList(const std::wstring& text, const std::wstring& separator)
{
    std::vector<std::wstring> items;
    if (text.empty()) {
        return items;
    }
    if (separator.empty()) {
        items.push_back(text);
        return items;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t found = text.find(separator, start);
        if (found == std::wstring::npos) {
            items.push_back(text.substr(start));
            break;
        }
        items.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    return items;
}
