#include "jvm/ClassDataArchive_win.h"

#include <windows.h>

#include "config/ConfigLocation_win.h"
#include "config/SplitList.h"
#include "jvm/ClassDataArchive.h"
#include "jvm/RuntimeEnvironment.h"
#include "runtime/ReleaseFile.h"
#include "util/AsciiText.h"
#include "util/FileFinder_win.h"
#include "util/PathText.h"
#include "util/Path_win.h"
#include "util/TextConversion_win.h"
#include "util/UniqueHandle_win.h"

namespace {

// True unless the process is known to have ended (an inaccessible process of
// another user counts as running).
bool processRunning(std::uint64_t pid)
{
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (pid > 0xFFFFFFFFULL || !process) {
        return pid <= 0xFFFFFFFFULL && ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    return !::GetExitCodeProcess(process.get(), &code) || code == STILL_ACTIVE;
}

std::uint64_t joined(DWORD high, DWORD low)
{
    return (std::uint64_t{high} << 32) | low;
}

// What the archive folder holds for one stem, once settled.
struct FolderState {
    std::wstring archive;  // the complete archive; empty when there is none
    bool making = false;   // a start is recording classes or a writer writing
};

// Looks at every file of the stem: the first complete archive (the size its
// name states and a header) is kept; a finished temporary archive (it has
// its header, which the writer puts in last) becomes the archive when there
// is none, named after its size, and its class list goes. Class lists and
// unfinished temporary archives of a start still running or written in the
// last ten minutes are an archive in the making. Everything else (truncated,
// extended, abandoned) is removed, so that a new archive gets written.
FolderState settleFolder(const std::wstring& folder, const std::wstring& stem, const Trace& trace)
{
    constexpr std::uint64_t kTenMinutes = 10ULL * 60 * 10000000;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    FolderState state;
    FileFinder finder;
    for (bool found = finder.findFirst(joinText({folder, stem, L".*"}).c_str()); found; found = finder.findNext()) {
        const WIN32_FIND_DATAW& data = finder.data();
        const std::wstring path = joinText({folder, data.cFileName});
        const std::uint64_t size = joined(data.nFileSizeHigh, data.nFileSizeLow);
        const bool whole = hasArchiveMagic(readFileStart(path, 4).value_or(std::string()));
        std::optional<std::uint64_t> number;
        if (path == state.archive) {
            continue;
        } else if ((number = numberInArchiveName(data.cFileName, stem, L".jsa"))) {
            if (whole && *number == size && state.archive.empty()) {
                state.archive = path;
                continue;
            }
        } else if ((number = numberInArchiveName(data.cFileName, stem, L".tmp")) && whole) {
            ::DeleteFileW(joinText({folder, stem, L".", decimalText(*number), L".classlist"}).c_str());
            const std::wstring target = joinText({folder, stem, L".", decimalText(size), L".jsa"});
            if (state.archive.empty() && ::MoveFileExW(path.c_str(), target.c_str(), 0)) {
                state.archive = target;
                continue;
            }
        } else if (number || (number = numberInArchiveName(data.cFileName, stem, L".classlist"))) {
            const std::uint64_t written = joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
            if (joined(now.dwHighDateTime, now.dwLowDateTime) - written < kTenMinutes || processRunning(*number)) {
                state.making = true;
                continue;
            }
        } else {
            continue;
        }
        // The runtime writes its archives read-only.
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
        trace.line({L"class-data archive: removed ", path});
    }
    return state;
}

// The archives' name stem for the runtime and the class path: the JVM
// library's size and time tell a runtime updated in place, each entry's size
// and time an updated jar (the runtime would ignore the old archive for
// ever). Empty when the JVM library cannot be looked at or an entry is a
// folder, which the runtime cannot archive.
std::wstring archiveStem(const std::wstring& jvmLibraryPath, const std::wstring& classPath,
                         const std::string& classPathOption)
{
    std::string fingerprint = classPathOption;
    for (const std::wstring& entry : splitList(joinText({jvmLibraryPath, L";", classPath}), L";")) {
        std::uint64_t library[2] = {0, 0};
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (::GetFileAttributesExW(entry.c_str(), GetFileExInfoStandard, &data)) {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return std::wstring();
            }
            library[0] = joined(data.nFileSizeHigh, data.nFileSizeLow);
            library[1] = joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        } else if (entry == jvmLibraryPath) {
            return std::wstring();
        }
        fingerprint.append(reinterpret_cast<const char*>(library), sizeof library);
    }
    return classDataArchiveName(runtimeFoldersFor(jvmLibraryPath).home, fingerprint);
}

// The archive folder in a form the runtime can be given in the ANSI code
// page: as it is, else its short form; empty when neither converts.
std::wstring passableFolder(const std::wstring& folder)
{
    if (folder.empty() || toThreadAnsiExact(folder)) {
        return folder;
    }
    const std::wstring shortForm = shortPathOf(folder);
    return toThreadAnsiExact(shortForm) ? shortForm : std::wstring();
}

// Fills what the plan needs to know; null, or why no archive can be had.
const wchar_t* gatherFacts(const std::wstring& jvmLibraryPath, const std::vector<std::string>& vmOptions,
                           const LauncherSettings& settings, ArchiveFacts& facts, const Trace& trace)
{
    facts.javaProgram = joinText({runtimeFoldersFor(jvmLibraryPath).home, L"\\bin\\java.exe"});
    if (optionsDecideSharing(vmOptions)) {
        return L"the VM parameters decide about class-data sharing";
    }
    // Runtimes that can archive classes have one of their own beside their
    // JVM library, and a java.exe to write one with.
    if (!pathExists(facts.javaProgram) || !pathExists(joinText({parentPath(jvmLibraryPath), L"\\classes.jsa"}))) {
        return L"the runtime has no class-data archive of its own or no java.exe";
    }
    const std::wstring classPathOption = fromThreadAnsi(vmOptions.front());
    facts.classPath = classPathOption.substr(classPathOption.find(L'=') + 1);
    const std::wstring stem = archiveStem(jvmLibraryPath, facts.classPath, vmOptions.front());
    // Made only for a start that can have an archive.
    const std::wstring folder = stem.empty() ? std::wstring() : passableFolder(localProductFolder(settings));
    if (stem.empty() || folder.empty()) {
        return L"the class path names a folder, or there is no local application-data folder for it";
    }
    const FolderState state = settleFolder(folder, stem, trace);
    facts.archivePath = state.archive;
    facts.writing = state.making;
    const std::wstring own = joinText({folder, stem, L".", decimalText(::GetCurrentProcessId())});
    facts.listPath = joinText({own, L".classlist"});
    facts.temporaryPath = joinText({own, L".tmp"});
    if (!facts.archivePath.empty() || facts.writing) {
        return nullptr;
    }
    // Made now, so that a folder the runtime could not write to is known
    // before the VM, and other starts see the archive in the making.
    const UniqueFileHandle list(::CreateFileW(facts.listPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return list ? nullptr : L"the folder cannot be written";
}

} // namespace

ClassDataArchiveStart classDataArchiveOptions(const LauncherSettings& settings, const std::wstring& jvmLibraryPath,
                                              std::optional<VersionNumber> version,
                                              const std::vector<std::string>& vmOptions, const Trace& trace)
{
    // Only a start with the key looks at the runtime's release file.
    if (settings.classDataSharing && !version) {
        const std::wstring release = joinText({runtimeFoldersFor(jvmLibraryPath).home, L"\\release"});
        version = releaseFileVersion(readFileStart(release, 16 * 1024).value_or(std::string()));
    }
    ArchiveFacts facts;
    const wchar_t* refusal = archiveRefusal(settings.classDataSharing, version);
    if (refusal == nullptr) {
        refusal = gatherFacts(jvmLibraryPath, vmOptions, settings, facts, trace);
    }
    if (refusal != nullptr) {
        trace.line({L"class-data archive: none: ", refusal});
        return {};
    }
    const ArchivePlan plan = planArchiveOptions(facts);
    trace.line({L"class-data archive: ", plan.traceText});
    ClassDataArchiveStart start{{}, plan.writerCommand, facts.javaProgram};
    for (const std::wstring& option : plan.options) {
        start.options.push_back(toThreadAnsi(option));
    }
    return start;
}

void startArchiveWriter(const ClassDataArchiveStart& start, const Trace& trace)
{
    if (start.writerCommand.empty()) {
        return;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = start.writerCommand;
    // In the background, without a window, and not holding the application's
    // folder as its current one.
    const std::wstring folder = parentPath(start.javaProgram);
    const BOOL started = ::CreateProcessW(start.javaProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                          CREATE_NO_WINDOW | BELOW_NORMAL_PRIORITY_CLASS, nullptr, folder.c_str(),
                                          &startup, &process);
    if (started) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    trace.line({L"class-data archive: writer ", started ? L"started: " : L"did not start: ", start.writerCommand});
}
