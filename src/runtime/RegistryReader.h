#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Which registry view a search covers: the process's own (64-bit) view, or
// the 32-bit view that 32-bit installers write to.
enum class RegistryView { Own, Bits32 };

// The registry root a key lies under.
enum class RegistryRoot { LocalMachine, CurrentUser };

// One subkey of a key and the values read from it (or from a key below it).
struct RegistrySubkey {
    std::wstring name;
    // One entry per value name asked for, in that order: the stored bytes of
    // the value whatever its type; nothing when it is missing, unreadable or
    // empty.
    std::vector<std::optional<std::vector<std::uint8_t>>> values;
};

// Decides from a subkey's name whether its values are read at all.
using SubkeyFilter = std::function<bool(const std::wstring& name)>;

// Read access to the registry, as the runtime search needs it. The launcher
// reads the real registry; tests read a table.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;

    // The direct subkeys of `key`, in enumeration order, that `wanted`
    // accepts, each with the values `valueNames` read from the key
    // "<subkey>" + `tail` (`tail` empty, or starting with "\"). Nothing when
    // `key` does not open.
    virtual std::optional<std::vector<RegistrySubkey>> readSubkeys(RegistryRoot root, const std::wstring& key,
                                                                   const std::wstring& tail,
                                                                   const std::vector<std::wstring>& valueNames,
                                                                   RegistryView view, const SubkeyFilter& wanted) = 0;
};

// The text a registry value holds: its bytes read as UTF-16LE code units up
// to the first NUL unit or the end of the data (an odd last byte is no unit).
// Any value type is read this way, and the data need not end with a NUL.
std::wstring registryValueText(const std::uint8_t* data, std::size_t size);
