#include "jvm/ClassDataArchive_win.h"

#include <windows.h>

#include "config/ConfigLocation_win.h"
#include "config/SplitList.h"
#include "jvm/ClassDataArchive.h"
#include "jvm/RuntimeEnvironment.h"
#include "runtime/ReleaseFile.h"
#include "util/AsciiText.h"
#include "util/FileFinder_win.h"
#include "util/TextConversion_win.h"
#include "util/UniqueHandle_win.h"

namespace {

// Up to `limit` first bytes of a file; empty when it cannot be read.
std::string readFirstBytes(const std::wstring& path, DWORD limit)
{
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes(limit, '\0');
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), bytes.data(), limit, &read, nullptr)) {
        return std::string();
    }
    bytes.resize(read);
    return bytes;
}

// The runtime writes its archives read-only; they are removed all the same.
void removeFile(const std::wstring& path)
{
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

// True unless the process is known to have ended (an inaccessible process of
// another user counts as running).
bool processRunning(DWORD pid)
{
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) {
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    return !::GetExitCodeProcess(process.get(), &code) || code == STILL_ACTIVE;
}

// The size and last write time of a file; false when it cannot be looked at.
bool fileSizeAndTime(const std::wstring& path, std::uint64_t& size, std::uint64_t& time)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    time = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

// The paths of the files in `folder` named "<stem>.<number><suffix>" for which
// `keep` holds for the number.
template <typename Keep>
std::vector<std::wstring> archiveFiles(const std::wstring& folder, const std::wstring& stem, const wchar_t* suffix,
                                       Keep keep)
{
    std::vector<std::wstring> paths;
    FileFinder finder;
    for (bool found = finder.findFirst((folder + stem + L".*" + suffix).c_str()); found; found = finder.findNext()) {
        const std::optional<std::uint64_t> number = numberInArchiveName(finder.fileName(), stem, suffix);
        if (number && keep(*number)) {
            paths.push_back(folder + finder.fileName());
        }
    }
    return paths;
}

// The complete archive: the size its name states and a header. Every other
// archive of the stem (truncated, extended, without header) is removed, so
// that a new one gets written. Empty when there is none.
std::wstring completeArchive(const std::wstring& folder, const std::wstring& stem, const Trace& trace)
{
    std::wstring complete;
    for (const std::wstring& path : archiveFiles(folder, stem, L".jsa", [](std::uint64_t) { return true; })) {
        std::uint64_t size = 0;
        std::uint64_t time = 0;
        const bool whole = fileSizeAndTime(path, size, time) &&
                           path == folder + stem + L"." + decimalText(size) + L".jsa" &&
                           hasDynamicArchiveMagic(readFirstBytes(path, 4));
        if (whole && complete.empty()) {
            complete = path;
        } else {
            removeFile(path);
            trace.line({L"class-data archive: removed the damaged ", path});
        }
    }
    return complete;
}

// Temporary archives whose writer has ended: when `wanted`, the first one with
// a header (the runtime writes it last) becomes the complete archive, named
// after its size; the others are removed. The complete archive's path, or
// empty.
std::wstring settleTemporaryArchives(const std::wstring& folder, const std::wstring& stem, bool wanted,
                                     const Trace& trace)
{
    const std::vector<std::wstring> finished =
        archiveFiles(folder, stem, L".tmp", [](std::uint64_t pid) {
            return pid <= 0xFFFFFFFFULL && pid != ::GetCurrentProcessId() && !processRunning(static_cast<DWORD>(pid));
        });
    std::wstring placed;
    for (const std::wstring& temporary : finished) {
        std::uint64_t size = 0;
        std::uint64_t time = 0;
        const bool complete = wanted && placed.empty() && fileSizeAndTime(temporary, size, time) &&
                              hasDynamicArchiveMagic(readFirstBytes(temporary, 4));
        const std::wstring target = folder + stem + L"." + decimalText(size) + L".jsa";
        if (complete && ::MoveFileExW(temporary.c_str(), target.c_str(), 0)) {
            placed = target;
            trace.line({L"class-data archive: put in place from ", temporary});
        } else {
            removeFile(temporary);
            trace.line({L"class-data archive: removed the temporary ", temporary});
        }
    }
    return placed;
}

// The archive stem for the runtime and class path; empty when the JVM
// library cannot be looked at.
std::wstring archiveStemFor(const std::wstring& jvmLibraryPath, const std::string& classPathOption)
{
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    if (!fileSizeAndTime(jvmLibraryPath, size, time)) {
        return std::wstring();
    }
    return classDataArchiveName(runtimeFoldersFor(jvmLibraryPath).home, size, time, classPathOption);
}

// The class path option followed by each entry's size and time, so that an
// updated jar gets a new archive (the runtime would ignore the old one for
// ever); false when an entry is a folder, which the runtime refuses to
// archive, failing at the application's exit.
bool classPathFingerprint(const std::string& classPathOption, std::string& fingerprint)
{
    fingerprint = classPathOption;
    const std::wstring option = fromThreadAnsi(classPathOption);
    for (const std::wstring& entry : splitList(option.substr(option.find(L'=') + 1), L";")) {
        std::uint64_t facts[2] = {0, 0};
        if (!entry.empty() && fileSizeAndTime(entry, facts[0], facts[1])) {
            const DWORD attributes = ::GetFileAttributesW(entry.c_str());
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return false;
            }
        }
        fingerprint.append(reinterpret_cast<const char*>(facts), sizeof facts);
    }
    return true;
}

// Fills the facts of the archive folder; false (traced) when no archive can be
// used or made there.
bool gatherFacts(const std::wstring& folder, const std::wstring& stem, ArchiveFacts& facts, const Trace& trace)
{
    facts.archivePath = completeArchive(folder, stem, trace);
    const std::wstring placed = settleTemporaryArchives(folder, stem, facts.archivePath.empty(), trace);
    if (!placed.empty()) {
        facts.archivePath = placed;
    }
    facts.archiveReady = !facts.archivePath.empty();
    if (facts.archiveReady) {
        return true;
    }
    facts.temporaryPath = folder + stem + L"." + decimalText(::GetCurrentProcessId()) + L".tmp";
    // Made here so that a folder the runtime could not write to is known now:
    // the runtime would otherwise fail at the application's exit.
    const UniqueFileHandle temporary(::CreateFileW(facts.temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!temporary) {
        trace.line({L"class-data archive: refused: cannot write ", facts.temporaryPath});
        return false;
    }
    return true;
}

} // namespace

std::vector<std::string> classDataArchiveOptions(const LauncherSettings& settings, const std::wstring& jvmLibraryPath,
                                                 std::optional<VersionNumber> version,
                                                 const std::vector<std::string>& vmOptions, const Trace& trace)
{
    if (settings.classDataSharing && !version) {
        const std::string release = readFirstBytes(runtimeFoldersFor(jvmLibraryPath).home + L"\\release", 64 * 1024);
        version = releaseFileVersion(release);
    }
    if (const std::optional<std::wstring> refusal = archiveRefusal(settings.classDataSharing, version)) {
        trace.line({L"class-data archive: none: ", *refusal});
        return {};
    }
    const std::wstring folder = localProductFolder(settings);
    std::string classPath;
    const bool noFolderOnClassPath = classPathFingerprint(vmOptions.front(), classPath);
    const std::wstring baseArchive = jvmLibraryPath.substr(0, jvmLibraryPath.rfind(L'\\') + 1) + L"classes.jsa";
    const std::wstring stem = archiveStemFor(jvmLibraryPath, classPath);
    // The runtime gets the path in the ANSI code page: one it cannot name
    // would only fail when the application exits.
    const wchar_t* refusal = optionsDecideSharing(vmOptions) ? L"the VM parameters decide about class-data sharing"
                             : !pathExists(baseArchive) ? L"the runtime has no default archive to build on"
                             : !noFolderOnClassPath ? L"the class path names a folder, which the runtime cannot archive"
                             : folder.empty()     ? L"no local application-data folder for the product"
                             : stem.empty()       ? L"the JVM library cannot be looked at"
                             : fromThreadAnsi(toThreadAnsi(folder)) != folder
                                 ? L"the folder's path has characters outside the ANSI code page"
                                 : nullptr;
    if (refusal != nullptr) {
        trace.line({L"class-data archive: refused: ", refusal});
        return {};
    }
    ArchiveFacts facts;
    if (!gatherFacts(folder, stem, facts, trace)) {
        return {};
    }
    const ArchivePlan plan = planArchiveOptions(facts);
    trace.line({L"class-data archive: ", plan.traceText});
    std::vector<std::string> options;
    for (const std::wstring& option : plan.options) {
        options.push_back(toThreadAnsi(option));
    }
    return options;
}
