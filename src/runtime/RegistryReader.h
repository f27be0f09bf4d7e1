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

// The registry's value types that the search reads as numbers.
constexpr std::uint32_t kRegistryString = 1;        // REG_SZ
constexpr std::uint32_t kRegistryExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t kRegistryDword = 4;         // REG_DWORD, little-endian
constexpr std::uint32_t kRegistryQword = 11;        // REG_QWORD, little-endian

// One stored value: its type and its bytes as stored.
struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

// One subkey of a key and the values read from it (or from a key below it).
struct RegistrySubkey {
    std::wstring name;
    // One entry per value name asked for, in that order; nothing when the
    // value is missing, unreadable or empty.
    std::vector<std::optional<RegistryValue>> values;
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

// A value as a number: a DWORD, a QWORD below 2^31, or a text of decimal
// digits (at most nine). Nothing for anything else.
std::optional<std::int32_t> registryValueNumber(const RegistryValue& value);
