#include "FileBytes.h"

#include "UniqueHandle.h"

#include <algorithm>

namespace {
const DWORD kBlock = 1 << 20;

void FreeLocal(wchar_t *value) noexcept { ::LocalFree(value); }
} // namespace

bool ReadFileBytes(const std::wstring &path, std::string &bytes, DWORD &error)
{
    unique_file file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        error = ::GetLastError();
        return false;
    }
    if (size.QuadPart > 0x7FFFFFFF) {
        error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    std::string block(kBlock, '\0');
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), &block[0], kBlock, &read, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (read == 0)
            break;
        content.append(block, 0, read);
    }
    bytes = std::move(content);
    return true;
}

bool ReplaceFileBytes(const std::wstring &path, const std::string &bytes, DWORD &error)
{
    // A read-only file is not replaced (Wine's rename would do it).
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = ERROR_ACCESS_DENIED;
        return false;
    }
    // A new name beside it: a file the user already has of that name is not touched.
    std::wstring beside;
    unique_file file;
    for (int n = 0; !file; ++n) {
        beside = path + L".saving" + (n ? std::to_wstring(n) : std::wstring());
        file.reset(::CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        if (!file && (::GetLastError() != ERROR_FILE_EXISTS || n == 99)) {
            error = ::GetLastError();
            return false;
        }
    }
    auto fail = [&] {
        error = ::GetLastError();
        file.reset();
        ::DeleteFileW(beside.c_str());
        return false;
    };
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kBlock));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return fail();
        done += written;
    }
    if (!::FlushFileBuffers(file.get()))
        return fail();
    file.reset();
    if (!::MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail();
    return true;
}

std::wstring SystemErrorText(DWORD error)
{
    wchar_t *text = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    unique_handle<handle_traits::simple<wchar_t *, FreeLocal>> owner(text);
    std::wstring message = length && text ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}
