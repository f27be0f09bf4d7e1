#pragma once
#include <string>
#include <vector>

// Splits `text` at every occurrence of `separator` (a whole string, matched
// from left to right). An empty text gives no items; empty pieces between
// separators are kept, but nothing follows a separator that ends the text:
// with ";", "a;;b" gives a, "", b; "a;" gives a; ";a" gives "", a. An empty
// separator gives the whole text as the only item.
std::vector<std::wstring> splitList(const std::wstring& text, const std::wstring& separator);
