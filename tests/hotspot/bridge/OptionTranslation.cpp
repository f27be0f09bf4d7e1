// Turns a JVM option written for a Windows Java VM into one the Linux VM
// understands.
#include "OptionTranslation.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace hsbridge {
namespace {

// winegcc compiles with a 16-bit wchar_t while the C and C++ libraries assume
// 32 bits: wide text is char16_t here, and never goes to wcs* functions.
WCHAR* wide(std::u16string& text) {
    return reinterpret_cast<WCHAR*>(&text[0]);
}

const WCHAR* wide(const std::u16string& text) {
    return reinterpret_cast<const WCHAR*>(text.c_str());
}

std::u16string fromAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return std::u16string();
    std::u16string result(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide(result), length);
    result.resize(static_cast<size_t>(length) - 1);
    return result;
}

std::string toUtf8(const std::u16string& text) {
    if (text.empty()) return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide(text), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide(text), static_cast<int>(text.size()), &narrow[0], length, nullptr,
                        nullptr);
    return narrow;
}

bool startsWith(const std::u16string& text, const std::u16string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// realpath for a path whose tail may not exist yet: resolves the longest
// existing head (Wine's answer runs through ".../dosdevices/c:/", whose colon
// would split a Unix path list) and keeps the rest as given.
std::string resolveExistingHead(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return path;
    std::string head = resolveExistingHead(path.substr(0, slash));
    if (head == "/") head.clear();
    return head + path.substr(slash);
}

}  // namespace

std::string unixPathOf(const std::u16string& windowsPath) {
    if (windowsPath.empty()) return std::string();
    // A class path wildcard names no file: map its folder, keep the star.
    if (windowsPath == u"*") return unixPathOf(u".") + "/*";
    const size_t last = windowsPath.size() - 1;
    if (windowsPath[last] == u'*' && (windowsPath[last - 1] == u'\\' || windowsPath[last - 1] == u'/')) {
        return unixPathOf(windowsPath.substr(0, last - 1)) + "/*";
    }
    const DWORD needed = GetFullPathNameW(wide(windowsPath), 0, nullptr, nullptr);
    if (needed == 0) return toUtf8(windowsPath);
    std::u16string full(needed, u'\0');
    const DWORD written = GetFullPathNameW(wide(windowsPath), needed, wide(full), nullptr);
    full.resize(written);
    char* unixName = wine_get_unix_file_name(wide(full));
    if (unixName == nullptr) {
        // Wine maps a missing file but not a missing folder: map the folder
        // that holds it and append the rest.
        const size_t separator = full.find_last_of(u"\\/");
        if (separator == std::u16string::npos || separator + 1 >= full.size() || separator < 3) {
            return toUtf8(windowsPath);
        }
        return unixPathOf(full.substr(0, separator)) + "/" + toUtf8(full.substr(separator + 1));
    }
    std::string result = resolveExistingHead(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    return result;
}

std::string unixPathListOf(const std::u16string& windowsList) {
    std::string result;
    size_t start = 0;
    for (;;) {
        const size_t end = windowsList.find(u';', start);
        const std::u16string element = windowsList.substr(start, end == std::u16string::npos ? end : end - start);
        // An empty element stays empty: Java reads it as the working folder
        // on either system.
        if (start != 0) result += ':';
        result += unixPathOf(element);
        if (end == std::u16string::npos) return result;
        start = end + 1;
    }
}

std::string translateOption(const char* windowsOption) {
    const std::u16string option = fromAnsi(windowsOption);
    for (const std::u16string prefix : {u"-Djava.class.path=", u"-Djava.library.path=", u"-Xbootclasspath/a:"}) {
        if (startsWith(option, prefix)) {
            return toUtf8(prefix) + unixPathListOf(option.substr(prefix.size()));
        }
    }
    // The class-data archive options name one file each.
    for (const std::u16string prefix :
         {u"-XX:SharedArchiveFile=", u"-XX:DumpLoadedClassList=", u"-XX:SharedClassListFile="}) {
        if (startsWith(option, prefix)) {
            return toUtf8(prefix) + unixPathOf(option.substr(prefix.size()));
        }
    }
    const std::u16string agent = u"-javaagent:";
    if (startsWith(option, agent)) {
        // -javaagent:<jar>[=<agent options>]
        const std::u16string rest = option.substr(agent.size());
        const size_t equals = rest.find(u'=');
        std::string translated = toUtf8(agent) + unixPathOf(rest.substr(0, equals));
        if (equals != std::u16string::npos) translated += toUtf8(rest.substr(equals));
        return translated;
    }
    return toUtf8(option);
}

}  // namespace hsbridge
