// UTF-8 to UTF-16 for the call log, the script and the settings files; the
// other way is common/EncodeUtf8.h.
#pragma once

#include "EncodeUtf8.h"

#include <string>

static_assert(sizeof(wchar_t) == 2, "texts are UTF-16");

// False for malformed input (bad sequences, overlong forms, surrogate code points).
bool FromUtf8(const std::string &bytes, std::wstring &text);
