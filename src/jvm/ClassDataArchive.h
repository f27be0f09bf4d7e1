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

// Why no archive options are given, for the trace; nothing when an archive is
// wanted: the key is on and the runtime's version is known and 13 or higher.
std::optional<std::wstring> archiveRefusal(bool keyOn, const std::optional<VersionNumber>& version);

// True when one of the VM options already decides about class-data sharing
// (-Xshare:off, an archive of its own): the launcher then adds none, since
// writing an archive without sharing stops the runtime's start.
bool optionsDecideSharing(const std::vector<std::string>& options);

// The archives' name stem: one per runtime (its home folder and the JVM
// library's size and time, so that a runtime updated in place gets a new one)
// and per class path (the class path option's text).
std::wstring classDataArchiveName(const std::wstring& runtimeHome, std::uint64_t librarySize,
                                  std::uint64_t libraryTime, std::string_view classPathOption);

// The number in a file name "<stem>.<number><suffix>": the writer's process id
// of a temporary archive (".tmp"), the size in bytes of a complete one
// (".jsa"), which tells a truncated or extended archive; nothing for any
// other name.
std::optional<std::uint64_t> numberInArchiveName(const std::wstring& fileName, const std::wstring& stem,
                                                 const std::wstring& suffix);

// True when the bytes begin with a dynamic archive's header. The runtime
// writes that header last, after every region, so a temporary archive that
// has it was written completely.
bool hasDynamicArchiveMagic(std::string_view firstBytes);

// What the archive folder holds for one start.
struct ArchiveFacts {
    std::wstring archivePath;    // the complete archive's path
    bool archiveReady = false;   // a complete archive is in place
    std::wstring temporaryPath;  // this process's own name to create one under
};

// The VM options for the archive and the trace's words on it: a ready archive
// is used, with its checksums verified (an archive whose bytes changed is then
// ignored instead of crashing the runtime); otherwise the runtime writes one
// under the temporary name at its exit. Runtimes from 19 on could keep the
// archive themselves, but a folder they cannot write then stops their start,
// so the launcher keeps it for every version. Both forms keep the runtime's
// class-data messages off the application's output.
struct ArchivePlan {
    std::vector<std::wstring> options;
    std::wstring traceText;
};
ArchivePlan planArchiveOptions(const ArchiveFacts& facts);
