#include "FileBytes.h"

#include "ErrorReport.h"
#include "Strings.h"
#include "UniqueHandle.h"
#include "resource.h"

#include <algorithm>

namespace {
const DWORD kBlock = 1 << 20;
// What a user sets on a file and a save must not take away.
const DWORD kCarriedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
const DWORD kSettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_TEMPORARY;

void FreeLocal(wchar_t *value) noexcept { ::LocalFree(value); }

bool WriteBytes(HANDLE file, const std::string &bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kBlock));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// The file itself written over, as in a folder where the user may change
// files but not make new ones. Opening it as it is keeps its identity.
bool WriteInPlace(const std::wstring &path, const std::string &bytes, DWORD &error, bool &earlierFileKept)
{
    unique_file file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
    if (!file) {
        error = ::GetLastError();
        return false;
    }
    earlierFileKept = ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (!WriteBytes(file.get(), bytes) || !::SetEndOfFile(file.get()) || !::FlushFileBuffers(file.get())) {
        error = ::GetLastError();
        return false;
    }
    return true;
}

// The file beside takes the target's place. Wine 8's ReplaceFileW only
// renames it over the target (after the read-only and sharing checks):
// attributes, security and streams stay behind, so CarryAttributes puts the
// attributes back; Windows carries all of them itself.
bool PutInPlace(const std::wstring &beside, const std::wstring &path, bool &earlierFileKept)
{
    if (::ReplaceFileW(path.c_str(), beside.c_str(), nullptr, 0, nullptr, nullptr))
        return true;
    DWORD failure = ::GetLastError();
    if (failure == ERROR_FILE_NOT_FOUND) // nothing to replace
        return ::MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    if (failure == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The old file was moved aside under another name; its name is free.
        earlierFileKept = false;
        return ::MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    ::SetLastError(failure);
    return false;
}

void CarryAttributes(const std::wstring &path, DWORD earlier)
{
    DWORD now = ::GetFileAttributesW(path.c_str());
    if (now == INVALID_FILE_ATTRIBUTES || (now & kCarriedAttributes) == (earlier & kCarriedAttributes))
        return;
    DWORD wanted = (now & kSettableAttributes & ~kCarriedAttributes) | (earlier & kCarriedAttributes);
    ::SetFileAttributesW(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
}
} // namespace

bool ReplaceFileBytes(const std::wstring &path, const std::string &bytes, DWORD &error, bool &earlierFileKept)
{
    earlierFileKept = true;
    // A read-only file is refused before anything is written.
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
        DWORD failure = file ? ERROR_SUCCESS : ::GetLastError();
        if (failure == ERROR_ACCESS_DENIED)
            return WriteInPlace(path, bytes, error, earlierFileKept);
        if (!file && (failure != ERROR_FILE_EXISTS || n == 99)) {
            error = failure;
            return false;
        }
    }
    auto fail = [&] {
        error = ::GetLastError();
        file.reset();
        ::DeleteFileW(beside.c_str());
        return false;
    };
    if (!WriteBytes(file.get(), bytes) || !::FlushFileBuffers(file.get()))
        return fail();
    file.reset();
    if (!PutInPlace(beside, path, earlierFileKept))
        return fail();
    if (attributes != INVALID_FILE_ATTRIBUTES)
        CarryAttributes(path, attributes);
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

bool SaveFileBytes(const std::wstring &path, const std::string &bytes)
{
    DWORD error = 0;
    bool earlierFileKept = true;
    if (ReplaceFileBytes(path, bytes, error, earlierFileKept))
        return true;
    UINT text = earlierFileKept ? IDS_CANNOT_WRITE : IDS_EARLIER_FILE_CHANGED;
    HarnessMessageBox(FormatString(LoadResString(text), {path, SystemErrorText(error)}), MB_ICONERROR);
    return false;
}
