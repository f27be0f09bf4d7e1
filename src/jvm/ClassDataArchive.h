#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/VersionNumber.h"

// The per-user class-data archive ("Class Data Sharing"): runtimes from
// version 13 map the classes a previous run archived instead of loading and
// verifying them again.

// Why no archive options are given, for the trace; null when an archive is
// wanted: the key is on and the runtime's version is known and 13 or higher.
const wchar_t* archiveRefusal(bool keyOn, const std::optional<VersionNumber>& version);

// True when one of the VM options already decides about class-data sharing
// (-Xshare:off, an archive of its own): the launcher then adds none.
bool optionsDecideSharing(const std::vector<std::string>& options);

// The archives' name stem: one per runtime home and per fingerprint of the
// runtime's JVM library and the class path.
std::wstring classDataArchiveName(const std::wstring& runtimeHome, std::string_view fingerprint);

// The number in a file name "<stem>.<number><suffix>": the recording start's
// process id of a class list (".classlist") and of a temporary archive
// (".tmp"), the size in bytes of a complete archive (".jsa"), which tells a
// truncated or extended one; nothing for any other name.
std::optional<std::uint64_t> numberInArchiveName(std::wstring_view fileName, std::wstring_view stem,
                                                 std::wstring_view suffix);

// True when the bytes begin with a class-data archive's header as the
// runtime's archive writer leaves it. The writer puts that header in last,
// after every region, so a temporary archive that has it is complete.
bool hasArchiveMagic(std::string_view firstBytes);

// What the archive folder holds for one start, and what it needs.
struct ArchiveFacts {
    std::wstring archivePath;    // the complete archive; empty when there is none
    bool writing = false;        // an archive is being written right now
    std::wstring listPath;       // where this start records the classes it loads
    std::wstring temporaryPath;  // where the archive writer puts its archive
    std::wstring javaProgram;    // the runtime's java.exe, which writes archives
    std::wstring classPath;      // the class path, as the VM gets it
};

// The VM options for the archive, the archive writer's command line and the
// trace's words on it. A ready archive is used, its checksums verified (an
// archive whose bytes changed is then ignored instead of harming the
// runtime), with the runtime's class-data messages kept off the
// application's output. Without one, the start records the classes it loads,
// and once the application has ended the runtime's java.exe writes the
// archive from that list in the background, so that no start waits for it.
// While an archive is being written no options are given.
struct ArchivePlan {
    std::vector<std::wstring> options;
    std::wstring writerCommand;  // empty: nothing to start after the VM
    std::wstring traceText;
};
ArchivePlan planArchiveOptions(const ArchiveFacts& facts);
