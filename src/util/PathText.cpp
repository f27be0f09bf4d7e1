#include "util/PathText.h"

namespace {

const std::wstring kLongPrefix = L"\\\\?\\";
const std::wstring kLongUncPrefix = L"\\\\?\\UNC\\";

bool startsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::wstring folderWithSeparator(const std::wstring& path)
{
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) {
        return std::wstring();
    }
    return path.substr(0, slash + 1);
}

std::wstring parentPath(const std::wstring& path)
{
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring lastElement(const std::wstring& path)
{
    return path.substr(path.rfind(L'\\') + 1);
}

std::wstring withTrailingSeparator(std::wstring folder)
{
    if (folder.empty() || folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

std::wstring withoutTrailingSeparator(std::wstring path)
{
    if (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

bool isFullPath(const std::wstring& path)
{
    const bool driveLetter = path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    return (driveLetter && path[1] == L':' && path[2] == L'\\') || startsWithTwoBackslashes(path);
}

bool startsWithTwoBackslashes(const std::wstring& path)
{
    return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
}

std::wstring longPathSearchName(const std::wstring& name, bool isUnc)
{
    if (name.size() < kMaxPath) {
        return name;
    }
    if (isUnc) {
        if (startsWith(name, kLongUncPrefix)) {
            return name;
        }
        return kLongUncPrefix + (startsWithTwoBackslashes(name) ? name.substr(2) : name);
    }
    if (startsWith(name, kLongPrefix)) {
        return name;
    }
    return kLongPrefix + name;
}

std::vector<std::wstring> folderLevelsToCreate(const std::wstring& path, bool isUnc)
{
    std::wstring prefix;
    std::wstring rest = path;
    if (startsWith(rest, kLongUncPrefix)) {
        prefix = kLongUncPrefix;
        rest.erase(0, kLongUncPrefix.size());
    } else if (startsWith(rest, kLongPrefix)) {
        prefix = kLongPrefix;
        rest.erase(0, kLongPrefix.size());
    }

    // The root: what precedes the first backslash, searched from the third
    // character on a network path (the root of \\server\share\dir is \\server).
    const bool uncText = isUnc && startsWithTwoBackslashes(rest);
    const std::size_t rootEnd = rest.find(L'\\', uncText ? 2 : 0);
    std::vector<std::wstring> components;
    if (rootEnd == std::wstring::npos) {
        components.push_back(prefix + rest);
        rest.clear();
    } else {
        components.push_back(prefix + rest.substr(0, rootEnd));
        rest.erase(0, rootEnd + 1);
        std::size_t start = 0;
        for (;;) {
            const std::size_t slash = rest.find(L'\\', start);
            if (slash == std::wstring::npos) {
                components.push_back(rest.substr(start));
                break;
            }
            components.push_back(rest.substr(start, slash - start));
            start = slash + 1;
        }
    }

    // Levels from the second component to the one before the last.
    std::vector<std::wstring> levels;
    std::wstring folder = components.front();
    for (std::size_t i = 1; i + 1 < components.size(); ++i) {
        folder += L'\\';
        folder += components[i];
        levels.push_back(folder);
    }
    return levels;
}

std::wstring joinText(std::initializer_list<std::wstring_view> parts)
{
    std::wstring text;
    for (std::wstring_view part : parts) {
        text.append(part.data(), part.size());
    }
    return text;
}
