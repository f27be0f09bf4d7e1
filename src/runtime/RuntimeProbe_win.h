#pragma once
#include <string>

// True when the file at `path` is a valid PE image built for Intel 386. The
// headers are read with every offset checked against the file's size; a
// missing, unreadable, truncated or non-image file gives false.
bool isX86Library(const std::wstring& path);
