#pragma once
#include <string>

#include "util/Failure.h"

// The text of a string-table entry of the running executable; empty when the
// entry is missing.
std::wstring loadMessage(int id);

// The whole text of `failure`, from the running executable's string table.
std::wstring failureText(const Failure& failure);
