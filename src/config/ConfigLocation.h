#pragma once
#include <optional>
#include <string>

// Where the configuration files of an executable lie; text rules only.

// The main configuration file of an executable: everything after the last "."
// of the whole path replaced by "ini" (C:\Apps\Tool.exe gives C:\Apps\Tool.ini).
// Nothing when the path holds no ".".
std::optional<std::wstring> mainConfigPathFor(const std::wstring& executablePath);

// "Product Name" without the characters that cannot stand in a folder name:
// \ ? " | > < : / *. Everything else, spaces included, stays.
std::wstring productFolderName(const std::wstring& productName);

// The text after the last "\" (the whole path if none), cut before its last ".".
std::wstring executableBaseName(const std::wstring& executablePath);

// The per-user configuration file:
// <appData>\<product folder name>\<product code>\<base name>.ini
std::wstring perUserConfigPathFor(const std::wstring& appData, const std::wstring& productName,
                                  const std::wstring& productCode, const std::wstring& executablePath);
