#include "config/ConfigLocation.h"

#include "util/PathText.h"

std::optional<std::wstring> mainConfigPathFor(const std::wstring& executablePath)
{
    const std::size_t dot = executablePath.rfind(L'.');
    if (dot == std::wstring::npos) {
        return std::nullopt;
    }
    return executablePath.substr(0, dot + 1) + L"ini";
}

std::wstring productFolderName(const std::wstring& productName)
{
    static const wchar_t kRemoved[] = {L'\\', L'?', L'"', L'|', L'>', L'<', L':', L'/', L'*'};
    std::wstring name = productName;
    for (wchar_t removed : kRemoved) {
        std::wstring kept;
        kept.reserve(name.size());
        for (wchar_t c : name) {
            if (c != removed) {
                kept += c;
            }
        }
        name.swap(kept);
    }
    return name;
}

std::wstring executableBaseName(const std::wstring& executablePath)
{
    std::wstring name = lastElement(executablePath);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) {
        name.resize(dot);
    }
    return name;
}

std::wstring perUserConfigPathFor(const std::wstring& appData, const std::wstring& productName,
                                  const std::wstring& productCode, const std::wstring& executablePath)
{
    return appData + L"\\" + productFolderName(productName) + L"\\" + productCode + L"\\" +
           executableBaseName(executablePath) + L".ini";
}
