#include "jvm/ClassDataArchive.h"

#include "util/PathText.h"

namespace {

constexpr std::int32_t kFirstArchivingMajor = 13;

// 64-bit FNV-1a, continued from `hash`: stable across runs and machines.
std::uint64_t fnv1a(std::uint64_t hash, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001B3ULL;
    }
    return hash;
}

constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325ULL;

} // namespace

const wchar_t* archiveRefusal(bool keyOn, const std::optional<VersionNumber>& version)
{
    if (!keyOn) {
        return L"\"Class Data Sharing\" is off";
    }
    if (!version || version->components[0] < kFirstArchivingMajor) {
        return L"the runtime's version is unknown or below 13";
    }
    return nullptr;
}

bool optionsDecideSharing(const std::vector<std::string>& options)
{
    for (const std::string& option : options) {
        for (const char* word : {"-Xshare", "SharedArchiveFile", "ArchiveClassesAtExit", "SharedSpaces"}) {
            if (option.find(word) != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

std::wstring classDataArchiveName(const std::wstring& runtimeHome, std::string_view fingerprint)
{
    std::uint64_t hash = fnv1a(kFnvOffset, runtimeHome.data(), runtimeHome.size() * sizeof(wchar_t));
    hash = fnv1a(hash, fingerprint.data(), fingerprint.size());
    std::wstring name = L"classes-0123456789abcdef";
    for (std::size_t i = name.size(); i > 8; --i, hash >>= 4) {
        name[i - 1] = L"0123456789abcdef"[hash & 0xF];
    }
    return name;
}

std::optional<std::uint64_t> numberInArchiveName(std::wstring_view fileName, std::wstring_view stem,
                                                 std::wstring_view suffix)
{
    const std::size_t start = stem.size() + 1;
    if (fileName.size() <= start + suffix.size() || fileName.substr(0, stem.size()) != stem ||
        fileName[stem.size()] != L'.' || fileName.substr(fileName.size() - suffix.size()) != suffix) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (std::size_t i = start; i < fileName.size() - suffix.size(); ++i) {
        const auto digit = static_cast<std::uint64_t>(fileName[i] - L'0');
        if (digit > 9 || number > (~std::uint64_t{0} - digit) / 10) {
            return std::nullopt;
        }
        number = number * 10 + digit;
    }
    return number;
}

bool hasArchiveMagic(std::string_view firstBytes)
{
    // 0xF00BABA2, little-endian, as the runtime stores it.
    return firstBytes.size() >= 4 && firstBytes.substr(0, 4) == std::string_view("\xA2\xAB\x0B\xF0", 4);
}

namespace {

// One argument of a Windows command line, quoted when it holds a space.
std::wstring commandArgument(const std::wstring& text)
{
    if (text.find(L' ') == std::wstring::npos) {
        return text;
    }
    // Backslashes before the closing quote would escape it.
    const std::size_t last = text.find_last_not_of(L'\\');
    return joinText({L"\"", text, std::wstring(text.size() - (last == std::wstring::npos ? 0 : last + 1), L'\\'), L"\""});
}

} // namespace

ArchivePlan planArchiveOptions(const ArchiveFacts& facts)
{
    ArchivePlan plan;
    if (!facts.archivePath.empty()) {
        plan.options.push_back(L"-Xlog:cds=off,cds+dynamic=off");
        plan.options.push_back(L"-XX:+VerifySharedSpaces");
        plan.options.push_back(joinText({L"-XX:SharedArchiveFile=", facts.archivePath}));
        plan.traceText = joinText({L"used: ", facts.archivePath});
    } else if (facts.writing) {
        plan.traceText = L"none: an archive is being written";
    } else {
        plan.options.push_back(joinText({L"-XX:DumpLoadedClassList=", facts.listPath}));
        plan.writerCommand = joinText({commandArgument(facts.javaProgram),
                                       L" -Xshare:dump -Xlog:cds=off -Xlog:cds+dynamic=off -XX:SharedClassListFile=",
                                       commandArgument(facts.listPath), L" -XX:SharedArchiveFile=",
                                       commandArgument(facts.temporaryPath), L" -cp ", commandArgument(facts.classPath)});
        plan.traceText = joinText({L"classes recorded in ", facts.listPath, L", archived after the application into ",
                                   facts.temporaryPath});
    }
    return plan;
}
