#include "jvm/ClassDataArchive.h"

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

std::wstring hex16(std::uint64_t value)
{
    std::wstring text(16, L'0');
    for (int i = 15; i >= 0; --i, value >>= 4) {
        text[static_cast<std::size_t>(i)] = L"0123456789abcdef"[value & 0xF];
    }
    return text;
}

} // namespace

std::optional<std::wstring> archiveRefusal(bool keyOn, const std::optional<VersionNumber>& version)
{
    if (!keyOn) {
        return std::wstring(L"\"Class Data Sharing\" is off");
    }
    if (!version || version->components[0] == 0) {
        return std::wstring(L"the runtime's version is unknown");
    }
    if (version->components[0] < kFirstArchivingMajor) {
        return L"runtime version " + formatVersion(*version) + L" is below 13";
    }
    return std::nullopt;
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

std::wstring classDataArchiveName(const std::wstring& runtimeHome, std::uint64_t librarySize,
                                  std::uint64_t libraryTime, std::string_view classPathOption)
{
    std::uint64_t runtime = fnv1a(kFnvOffset, runtimeHome.data(), runtimeHome.size() * sizeof(wchar_t));
    runtime = fnv1a(runtime, &librarySize, sizeof librarySize);
    runtime = fnv1a(runtime, &libraryTime, sizeof libraryTime);
    const std::uint64_t classPath = fnv1a(kFnvOffset, classPathOption.data(), classPathOption.size());
    return L"classes-" + hex16(runtime) + L"-" + hex16(classPath);
}

std::optional<std::uint64_t> numberInArchiveName(const std::wstring& fileName, const std::wstring& stem,
                                                 const std::wstring& suffix)
{
    const std::size_t start = stem.size() + 1;
    if (fileName.size() <= start + suffix.size() || fileName.compare(0, stem.size(), stem) != 0 ||
        fileName[stem.size()] != L'.' || fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (std::size_t i = start; i < fileName.size() - suffix.size(); ++i) {
        const auto digit = static_cast<std::uint64_t>(fileName[i] - L'0');
        if (fileName[i] < L'0' || fileName[i] > L'9' || number > (~std::uint64_t{0} - digit) / 10) {
            return std::nullopt;
        }
        number = number * 10 + digit;
    }
    return number;
}

bool hasDynamicArchiveMagic(std::string_view firstBytes)
{
    // 0xF00BABA8, little-endian, as the runtime stores it.
    return firstBytes.size() >= 4 && firstBytes.substr(0, 4) == std::string_view("\xA8\xAB\x0B\xF0", 4);
}

ArchivePlan planArchiveOptions(const ArchiveFacts& facts)
{
    ArchivePlan plan;
    plan.options = {L"-Xlog:cds=off,cds+dynamic=off", L"-XX:+VerifySharedSpaces"};
    if (facts.archiveReady) {
        plan.options.push_back(L"-XX:SharedArchiveFile=" + facts.archivePath);
        plan.traceText = L"used: " + facts.archivePath;
    } else {
        // Verifying needs an archive to verify; the writing run maps none.
        plan.options.pop_back();
        plan.options.push_back(L"-XX:ArchiveClassesAtExit=" + facts.temporaryPath);
        plan.traceText = L"created at exit: " + facts.temporaryPath;
    }
    return plan;
}
