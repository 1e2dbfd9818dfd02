// UTF-16 <-> UTF-8 for the call log, the script and the settings files.
#pragma once

#include <cstddef>
#include <string>

static_assert(sizeof(wchar_t) == 2, "texts are UTF-16");

// A lone surrogate becomes U+FFFD.
std::string ToUtf8(const wchar_t *text, std::size_t length);
std::string ToUtf8(const std::wstring &text);

// False for malformed input (bad sequences, overlong forms, surrogate code points).
bool FromUtf8(const std::string &bytes, std::wstring &text);
