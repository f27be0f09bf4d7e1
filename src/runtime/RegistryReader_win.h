#pragma once
#include "runtime/RegistryReader.h"

// The machine's registry. Keys open with KEY_READ, and KEY_WOW64_32KEY for
// the 32-bit view; a subkey opens relative to its parent's open key. Nothing
// is written.
class Win32RegistryReader : public RegistryReader {
public:
    std::optional<std::vector<RegistrySubkey>> readSubkeys(RegistryRoot root, const std::wstring& key,
                                                           const std::wstring& tail,
                                                           const std::vector<std::wstring>& valueNames,
                                                           RegistryView view, const SubkeyFilter& wanted) override;
};
