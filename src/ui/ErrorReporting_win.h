#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/MessageFormat.h"
#include "ui/MessageIds.h"

// The text of a string-table entry of the running executable; empty when the
// entry is missing.
std::wstring loadMessage(int id);

// Shows text in a modal error box (default caption, OK only) owned by `owner`,
// which is the launcher-drawn splash window or null. Blocks until closed.
void showError(HWND owner, const std::wstring& text);

// Formats the string-table text `formatId` with one text argument and shows it.
void showErrorFormatted(HWND owner, int formatId, const std::wstring& argument);

// Formats the string-table text `formatId` with the given arguments and shows it.
void showErrorMessage(HWND owner, int formatId, const std::vector<MessageArgument>& arguments);

// The platform failure message: "Windows exception: <detail> (errno = <code>)."
// with the detail text `detailId` and the error code of the failing call.
void showWindowsError(HWND owner, int detailId, DWORD errorCode);

// Full path of the running executable, read whole. On failure the platform
// failure message ("failed to get the module path" with the error code) is
// shown, owned by `owner`, and the result is false. Every step that needs the
// executable's path asks here, so each one reports that failure alike.
bool executablePath(HWND owner, std::wstring& path);

// The executable's folder with its final backslash. False (after the message)
// when the path cannot be obtained; a path without a backslash leaves
// `folder` unchanged.
bool executableFolder(HWND owner, std::wstring& folder);
