#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A store of settings: a string under a section name and a key name. An absent
// value reads as the empty string, never as an error. The virtual operations
// keep this slot order: destructor, probe, getValue, listSections, setValue,
// removeStore.
class ConfigStore {
public:
    virtual ~ConfigStore() = default;

    // Reports whether the backing data can be read: reads up to four bytes of
    // it into `buffer` and returns a platform error code, 0 for success.
    virtual std::uint32_t probe(std::array<std::uint8_t, 4>& buffer) const = 0;

    // Delivers the value of `key` in `section` into `value`. Stores that find
    // nothing either clear `value` or leave it untouched (see each store).
    virtual void getValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const = 0;

    // Replaces `names` by the section names, in order.
    virtual void listSections(std::vector<std::wstring>& names) const = 0;

    // Stores a value; returns the platform result (non-zero for success).
    virtual std::int32_t setValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;

    // Removes the backing data; true when it is gone.
    virtual bool removeStore() = 0;

    // The value of `key` in `section`, empty when absent.
    std::wstring readValue(const std::wstring& section, const std::wstring& key) const
    {
        std::wstring value;
        getValue(section, key, value);
        return value;
    }

protected:
    ConfigStore() = default;
    ConfigStore(const ConfigStore&) = default;
    ConfigStore& operator=(const ConfigStore&) = default;
};
