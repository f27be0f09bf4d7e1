#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/MessageFormat.h"
#include "app/MessageIds.h"

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
