#include "config/LayeredIniFile.h"

#include <utility>

#include "util/LaunchError.h"

LayeredIniFile::LayeredIniFile(std::unique_ptr<ConfigStore> file) : file_(std::move(file))
{
    if (!file_) {
        raiseLaunchError(kHresultInvalidArg);
    }
}

std::uint32_t LayeredIniFile::probe(std::array<std::uint8_t, 4>& buffer) const
{
    return file_->probe(buffer);
}

void LayeredIniFile::getValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const
{
    std::wstring result;
    document_.getValue(section, key, result);

    std::wstring fileValue;
    file_->getValue(section, key, fileValue);
    if (!fileValue.empty()) {
        value = std::move(fileValue);
        return;
    }

    std::wstring extension;
    file_->getValue(section + L"+", key, extension);
    if (!extension.empty()) {
        if (extension.front() != L' ') {
            result += L' ';
        }
        result += extension;
    }
    value = std::move(result);
}

void LayeredIniFile::listSections(std::vector<std::wstring>& names) const
{
    file_->listSections(names);
}

std::int32_t LayeredIniFile::setValue(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    return file_->setValue(section, key, value);
}

bool LayeredIniFile::removeStore()
{
    return file_->removeStore();
}
