// What the driver's parts share and tests need not see.
#pragma once

#include <windows.h>

#include "UniqueHandle.h"

#include <stdexcept>
#include <string>

namespace uidriver {
namespace detail {

struct find_traits {
    using pointer = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) noexcept { ::FindClose(value); }
};
using unique_find = unique_handle<find_traits>;

// Bound for every message sent to another process.
constexpr UINT kAnswerMs = 5000;

// "what (error N)" for the calling thread's last error.
std::runtime_error SystemFailure(const std::wstring &what);

void WriteWholeFile(const std::wstring &path, const std::string &bytes);
// False when the file does not exist; other failures throw.
bool ReadWholeFile(const std::wstring &path, std::string &bytes);

} // namespace detail
} // namespace uidriver
