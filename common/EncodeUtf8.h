// UTF-16 to UTF-8 and back through the system, for the programs, the sample
// engine and the tests.
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

// Bytes that are no UTF-8 become U+FFFD.
inline std::wstring DecodeUtf8(const std::string &bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int length = static_cast<int>(bytes.size());
    int size = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, &text[0], size);
    return text;
}
