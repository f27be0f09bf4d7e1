#pragma once
#include <optional>
#include <string>
#include <vector>

// Names of the DLLs in the import table of a 64-bit image held in `bytes`, as
// written there; nothing when the headers or the table do not lie within the
// bytes.
std::optional<std::vector<std::string>> readPeImports(const std::string& bytes);
