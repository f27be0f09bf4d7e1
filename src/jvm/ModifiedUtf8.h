#pragma once
#include <string>
#include <string_view>

// Decodes the modified UTF-8 that JNI hands out (NUL as C0 80, supplementary
// characters as two 3-byte surrogates) into UTF-16 code units, one per
// wchar_t. Standard 4-byte sequences are accepted as well and become a
// surrogate pair. Each malformed or truncated sequence becomes U+FFFD; the
// decoder never reads past the end of `bytes`.
std::wstring decodeModifiedUtf8(std::string_view bytes);
