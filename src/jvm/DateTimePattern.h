#pragma once
#include <functional>
#include <optional>
#include <string>

// Formats a picture with the user's locale; nothing when the platform
// refuses it.
using PictureFormatter = std::function<std::optional<std::wstring>(const std::wstring& picture)>;

// Fills in the date-time pattern of a file name: the text between its first
// and its last "%" (both signs go). Every "L" in the pattern becomes the
// milliseconds, then the time pictures and then the date pictures are
// replaced. A pattern the formatters refuse leaves the name without it.
// Names without "%" stay as they are.
std::wstring expandDateTimePattern(const std::wstring& name, unsigned milliseconds, const PictureFormatter& formatTime,
                                   const PictureFormatter& formatDate);
