// UTF-16 to UTF-8 through the system, for the programs, the sample engine and
// the tests.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// A lone surrogate becomes U+FFFD.
inline std::string EncodeUtf8(const wchar_t *text, std::size_t length)
{
    if (length == 0)
        return std::string();
    const int units = static_cast<int>(length);
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, units, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

inline std::string EncodeUtf8(const std::wstring &text) { return EncodeUtf8(text.data(), text.size()); }
