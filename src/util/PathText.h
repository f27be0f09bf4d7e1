#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Text operations on Windows paths; no file system access.

constexpr std::size_t kMaxPath = 260;
constexpr std::size_t kMaxLongPath = 32767;

// The parts one after the other (a path and its elements, a command line).
std::wstring joinText(std::initializer_list<std::wstring_view> parts);

// The text up to and including the last backslash; empty when there is none.
std::wstring folderWithSeparator(const std::wstring& path);

// The text before the last backslash; empty when there is none.
std::wstring parentPath(const std::wstring& path);

// The text after the last backslash; the whole text when there is none.
std::wstring lastElement(const std::wstring& path);

// `folder` ending with one backslash: one is added when it does not end with
// one (an empty text gives "\").
std::wstring withTrailingSeparator(std::wstring folder);

// `path` without a final backslash, when it ends with one.
std::wstring withoutTrailingSeparator(std::wstring path);

// The name a directory search is given for a path: paths of 260 characters or
// more get the long-path prefix ("\\?\" or "\\?\UNC\" in place of the two
// leading backslashes of a network path) unless they carry it already.
std::wstring longPathSearchName(const std::wstring& name, bool isUnc);

// True for a full path: a drive letter, a colon and a backslash, or two
// leading backslashes (a network or long path). A relative path, or one that
// starts at the current drive's root, is none.
bool isFullPath(const std::wstring& path);

// True when the path starts with two backslashes (network or long-path form).
bool startsWithTwoBackslashes(const std::wstring& path);

// The folder levels that must exist before a file at `path` can be created, in
// the order they are created: the root (drive, server or a relative first
// component) and the file name itself are not included. A leading "\\?\" or
// "\\?\UNC\" prefix stays on every level.
std::vector<std::wstring> folderLevelsToCreate(const std::wstring& path, bool isUnc);
