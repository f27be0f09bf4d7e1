#include "jvm/VmOptions.h"

#include "util/MessageIds.h"
#include "util/LaunchError.h"
#include "util/PathText.h"

namespace {

bool isAbsoluteEntry(const std::wstring& entry)
{
    return entry.size() >= 2 && (entry[1] == L':' || (entry[0] == L'\\' && entry[1] == L'\\'));
}

// The text up to and including the last path separator; the platform's
// directory search accepts a slash as well as a backslash.
std::wstring searchedFolderOf(const std::wstring& pattern)
{
    const std::size_t separator = pattern.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : pattern.substr(0, separator + 1);
}

} // namespace

std::vector<std::wstring> splitVmParameters(const std::wstring& text)
{
    std::vector<std::wstring> tokens;
    const std::size_t n = text.size();
    // A quote at or after the last one has no closing quote after it; knowing
    // that up front keeps the scan linear however the quotes fall.
    const std::size_t lastQuote = text.rfind(L'"');
    std::size_t p = 0;
    while (true) {
        while (p < n && text[p] == L' ') {
            ++p;
        }
        if (p == n) {
            break;
        }
        const std::size_t start = p;
        while (p < n && text[p] != L' ') {
            if (text[p] == L'"' && p < lastQuote) {
                const std::size_t closing = text.find(L'"', p + 1);
                p = (closing + 1 < n && text[closing + 1] == L'"') ? closing + 2 : closing + 1;
            } else {
                ++p;
            }
        }
        tokens.push_back(text.substr(start, p - start));
    }
    return tokens;
}

std::wstring unquoteToken(const std::wstring& token)
{
    std::wstring result;
    std::size_t p = 0;
    while (true) {
        const std::size_t opening = token.find(L'"', p);
        const std::size_t closing = opening == std::wstring::npos ? opening : token.find(L'"', opening + 1);
        if (closing == std::wstring::npos) {
            result.append(token, p, std::wstring::npos);
            return result;
        }
        result.append(token, p, opening - p);
        result.append(token, opening + 1, closing - opening - 1);
        if (closing + 1 < token.size() && token[closing + 1] == L'"') {
            result += L'"';
            p = closing + 2;
        } else {
            p = closing + 1;
        }
    }
}

ClassPathEntryKind classifyClassPathEntry(const std::wstring& entry)
{
    if (entry.find(L'*') != std::wstring::npos) {
        return ClassPathEntryKind::Wildcard;
    }
    if (entry.size() < 2) {
        return ClassPathEntryKind::Relative;
    }
    if (entry[1] == L':') {
        return ClassPathEntryKind::Absolute;
    }
    if (entry[0] == L'\\' && entry[1] == L'\\') {
        return ClassPathEntryKind::Network;
    }
    return ClassPathEntryKind::Relative;
}

void expandClassPathEntry(const std::wstring& entry, const std::wstring& launcherFolder,
                          const DirectoryMatchLister& listMatches, std::wstring& classPathText)
{
    std::wstring pattern;
    if (isAbsoluteEntry(entry)) {
        pattern = entry;
    } else {
        pattern = withoutTrailingSeparator(launcherFolder) + entry;
    }
    const std::wstring prefix = searchedFolderOf(pattern);
    for (const std::wstring& name : listMatches(pattern)) {
        classPathText += prefix;
        classPathText += name;
        classPathText += L';';
    }
}

namespace {

// The class path text: each entry expanded and resolved (an empty entry is
// skipped), the launcher executable first when "Embedded Jar" is set; no
// separator at its end.
std::wstring assembleClassPath(const LaunchOptionSettings& settings, const std::wstring& executablePath,
                               const std::wstring& executableFolder, const VmOptionServices& services)
{
    std::wstring classPath;
    for (const std::wstring& written : settings.classPath) {
        const std::wstring entry = expandOrKeep(services.expandEnvironment, written);
        // An empty entry (";;", a leading ';', or a variable that expands to
        // nothing) names no file; resolving it would put the launcher's folder
        // itself on the class path, so it is skipped.
        if (entry.empty()) {
            continue;
        }
        switch (classifyClassPathEntry(entry)) {
        case ClassPathEntryKind::Wildcard:
        case ClassPathEntryKind::Relative: {
            const std::size_t before = classPath.size();
            expandClassPathEntry(entry, executableFolder, services.listMatches, classPath);
            if (services.trace.on()) {
                const std::wstring matched = classPath.substr(before);
                services.trace.line({L"class path entry ", written, L": ",
                                     matched.empty() ? L"matches nothing" : L"matches " + matched});
            }
            break;
        }
        case ClassPathEntryKind::Absolute:
        case ClassPathEntryKind::Network:
            classPath += entry;
            classPath += L';';
            break;
        }
    }
    if (settings.embeddedJar && !executablePath.empty()) {
        classPath.insert(0, executablePath + L";");
    }
    // Java reads an empty last entry as the current folder, which would put
    // whatever lies in the folder the user started from on the class path.
    while (!classPath.empty() && classPath.back() == L';') {
        classPath.pop_back();
    }
    return classPath;
}

} // namespace

Expected<VmOptionAssembly> assembleVmOptions(const LaunchOptionSettings& settings, const std::wstring& executablePath,
                                             const std::wstring& executableFolder, const VmOptionServices& services,
                                             std::vector<std::wstring>& arguments)
{
    if (!services.expandEnvironment || !services.listMatches || !services.memoryStatus || !services.toAnsi) {
        raiseLaunchError(kHresultInvalidArg);
    }
    const EnvironmentExpander& expand = services.expandEnvironment;
    const std::wstring classPath = assembleClassPath(settings, executablePath, executableFolder, services);
    if (classPath.empty()) {
        return failureOf(IDS_CLASS_PATH_MISSING);
    }

    VmOptionAssembly result;
    std::vector<std::wstring> work;
    work.push_back(L"-Djava.class.path=" + classPath);
    for (const std::wstring& token : splitVmParameters(settings.vmParameters)) {
        std::wstring option = unquoteToken(token);
        if (isPercentMemoryOption(option)) {
            option = rewritePercentMemoryOption(option, services.memoryStatus());
        }
        // Read before environment expansion, as the option is written.
        if (std::optional<std::uint64_t> stackSize = deriveThreadStackSize(option)) {
            result.vmThreadStackSize = *stackSize;
        }
        work.push_back(std::move(option));
    }
    result.options.reserve(work.size());
    for (const std::wstring& option : work) {
        Expected<std::string> narrow = services.toAnsi(expandOrKeep(expand, option));
        if (!narrow) {
            return narrow.failure();
        }
        result.options.push_back(std::move(*narrow));
    }

    if (!settings.outputFile.empty()) {
        result.outputFile = expandOrKeep(expand, settings.outputFile);
    }
    result.outputAppend = settings.outputAppend;
    if (!settings.errorFile.empty()) {
        result.errorFile = expandOrKeep(expand, settings.errorFile);
    }
    result.errorAppend = settings.errorAppend;

    appendConfiguredCommand(settings.command, expand, arguments);
    return result;
}
