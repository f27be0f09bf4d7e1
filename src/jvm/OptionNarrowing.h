#pragma once
#include <optional>
#include <string>

#include "util/Failure.h"
#include "util/Trace.h"

// What passing an option to the runtime as narrow text asks of the platform.
struct NarrowingServices {
    // The text in the ANSI code page; nothing when a character has no exact
    // mapping there (no default character, no best-fit substitute).
    std::optional<std::string> (*exact)(const std::wstring&) = nullptr;
    // The short form of an existing path; empty when it has none.
    std::wstring (*shortPath)(const std::wstring&) = nullptr;
    Trace trace;  // names each path passed in short form
};

// `option` as narrow text for the runtime. Text that converts exactly is
// passed as it is. Otherwise the value after the first "=" or ":" is taken
// as a ";" list of paths, and each entry that does not convert is passed in
// its short form when that converts. When neither works, the failure names
// the option, the entry and its first character that cannot be passed.
Expected<std::string> narrowOption(const std::wstring& option, const NarrowingServices& services);

// One path that the runtime takes as narrow text: as it is when it converts,
// else its short form when that converts (traced); else the failure naming
// `name`, the path and its first character that cannot be passed.
Expected<std::wstring> passablePath(const std::wstring& name, const std::wstring& path,
                                    const NarrowingServices& services);
