// The whole of a file as bytes, for every module that reads one: the harness's
// XML files, the sample engine's script and settings, the tests' logs.
#pragma once

#include "UniqueHandle.h"

#include <windows.h>

#include <string>

// Reads in large blocks. False with the system's error code, which is
// ERROR_FILE_TOO_LARGE for a file of more than largest bytes. share says
// what others may do with the file meanwhile.
inline bool ReadFileBytes(const std::wstring &path, std::string &bytes, DWORD &error,
                          DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE, LONGLONG largest = 0x7FFFFFFF)
{
    const DWORD block = 1 << 20;
    unique_file file(
        ::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        error = ::GetLastError();
        return false;
    }
    if (size.QuadPart > largest) {
        error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    std::string buffer(block, '\0');
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), &buffer[0], block, &read, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (read == 0)
            break;
        content.append(buffer, 0, read);
    }
    bytes = std::move(content);
    return true;
}
