// UTF-16 to UTF-8 through the system, for the programs and the tests.
#pragma once

#include <windows.h>

#include <string>

// A lone surrogate becomes U+FFFD.
inline std::string EncodeUtf8(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}
