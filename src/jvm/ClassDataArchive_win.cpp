#include "jvm/ClassDataArchive_win.h"

#include <windows.h>

#include "config/ConfigLocation_win.h"
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

// Temporary archives whose writer has ended: the first complete one becomes
// the archive when none is there; the others are removed.
void settleTemporaryArchives(const std::wstring& folder, const std::wstring& name, const Trace& trace)
{
    const std::wstring archive = folder + name;
    std::vector<std::wstring> finished;
    FileFinder finder;
    for (bool found = finder.findFirst((archive + L".*.tmp").c_str()); found; found = finder.findNext()) {
        const std::optional<std::uint32_t> pid = temporaryArchivePid(finder.fileName(), name);
        if (pid && *pid != ::GetCurrentProcessId() && !processRunning(*pid)) {
            finished.push_back(folder + finder.fileName());
        }
    }
    finder.close();
    for (const std::wstring& temporary : finished) {
        if (::GetFileAttributesW(archive.c_str()) == INVALID_FILE_ATTRIBUTES &&
            hasDynamicArchiveMagic(readFirstBytes(temporary, 4)) && ::MoveFileExW(temporary.c_str(), archive.c_str(), 0)) {
            trace.line({L"class-data archive: put in place from ", temporary});
        } else {
            removeFile(temporary);
            trace.line({L"class-data archive: removed the unfinished ", temporary});
        }
    }
}

// The archive's name for the runtime and class path; empty when the JVM
// library cannot be looked at.
std::wstring archiveNameFor(const std::wstring& jvmLibraryPath, const std::string& classPathOption)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(jvmLibraryPath.c_str(), GetFileExInfoStandard, &data)) {
        return std::wstring();
    }
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const std::uint64_t time =
        (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return classDataArchiveName(runtimeFoldersFor(jvmLibraryPath).home, size, time, classPathOption);
}

// Fills the facts of the archive folder; false (traced) when no archive can be
// used or made there.
bool gatherFacts(const std::wstring& folder, const std::wstring& name, ArchiveFacts& facts, const Trace& trace)
{
    facts.archivePath = folder + name;
    if (facts.version.components[0] >= 19) {
        return true;
    }
    settleTemporaryArchives(folder, name, trace);
    if (::GetFileAttributesW(facts.archivePath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        facts.archiveReady = hasDynamicArchiveMagic(readFirstBytes(facts.archivePath, 4));
        if (!facts.archiveReady) {
            removeFile(facts.archivePath);
            trace.line({L"class-data archive: removed the damaged ", facts.archivePath});
        }
    }
    if (facts.archiveReady) {
        return true;
    }
    facts.temporaryPath = facts.archivePath + L"." + decimalText(::GetCurrentProcessId()) + L".tmp";
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
                                                 const std::string& classPathOption, const Trace& trace)
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
    const std::wstring name = archiveNameFor(jvmLibraryPath, classPathOption);
    if (folder.empty() || name.empty()) {
        trace.line({L"class-data archive: refused: ",
                    folder.empty() ? L"no local application-data folder for the product" : L"no JVM library data"});
        return {};
    }
    ArchiveFacts facts;
    facts.version = *version;
    if (!gatherFacts(folder, name, facts, trace)) {
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
