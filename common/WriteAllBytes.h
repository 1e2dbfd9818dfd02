// All of the bytes to an open file, for every module that writes one: the
// harness's saves and the sample engine's settings files and call log.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

// Writes in large blocks until every byte is taken. False when a write fails,
// the system's error code then the last error, or takes nothing.
inline bool WriteAllBytes(HANDLE file, const std::string &bytes)
{
    const std::size_t block = 1 << 20;
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, block));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}
