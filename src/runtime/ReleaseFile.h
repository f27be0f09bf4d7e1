#pragma once
#include <optional>
#include <string_view>

#include "config/VersionNumber.h"

// The version a runtime's `release` file states in its JAVA_VERSION line
// (JAVA_VERSION="17.0.2", or 1.8.0_292: "1.8.0_292" gives 1.8.0.292). Nothing
// when the text has no such line or its value holds no version. Lines may end
// in LF or CR LF; the text need not be valid in any encoding.
std::optional<VersionNumber> releaseFileVersion(std::string_view text);
