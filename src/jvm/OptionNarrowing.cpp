#include "jvm/OptionNarrowing.h"

#include "util/MessageIds.h"

namespace {

// The first character (a surrogate pair counts as one) that has no exact
// mapping on its own.
std::wstring firstUnconvertible(const std::wstring& text, const NarrowingServices& services)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size();
        const std::wstring character = text.substr(i, pair ? 2 : 1);
        if (!services.exact(character)) {
            return character;
        }
        i += pair ? 1 : 0;
    }
    return std::wstring();
}

Expected<std::string> narrowEntry(const std::wstring& name, const std::wstring& entry,
                                  const NarrowingServices& services)
{
    if (std::optional<std::string> narrow = services.exact(entry)) {
        return std::move(*narrow);
    }
    const Expected<std::wstring> passable = passablePath(name, entry, services);
    if (!passable) {
        return passable.failure();
    }
    return *services.exact(*passable);
}

} // namespace

Expected<std::wstring> passablePath(const std::wstring& name, const std::wstring& path,
                                    const NarrowingServices& services)
{
    if (services.exact(path)) {
        return path;
    }
    const std::wstring shortForm = path.empty() ? std::wstring() : services.shortPath(path);
    if (!shortForm.empty() && services.exact(shortForm)) {
        services.trace.line({name, L": ", path, L" passed in short form as ", shortForm});
        return shortForm;
    }
    return failureOf(IDS_TEXT_NOT_PASSABLE, {name, path, firstUnconvertible(path, services)});
}

Expected<std::string> narrowOption(const std::wstring& option, const NarrowingServices& services)
{
    if (std::optional<std::string> narrow = services.exact(option)) {
        return std::move(*narrow);
    }
    const std::size_t separator = option.find_first_of(L"=:");
    if (separator == std::wstring::npos) {
        return failureOf(IDS_TEXT_NOT_PASSABLE, {option, option, firstUnconvertible(option, services)});
    }
    const std::wstring name = option.substr(0, separator);
    Expected<std::string> head = narrowEntry(name, option.substr(0, separator + 1), services);
    if (!head) {
        return head;
    }
    std::string result = std::move(*head);
    std::size_t start = separator + 1;
    for (;;) {
        const std::size_t end = option.find(L';', start);
        Expected<std::string> entry = narrowEntry(name, option.substr(start, end - start), services);
        if (!entry) {
            return entry;
        }
        result += *entry;
        if (end == std::wstring::npos) {
            return result;
        }
        result += ';';
        start = end + 1;
    }
}
