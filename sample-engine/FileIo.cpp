#include "FileIo.h"

#include "ReadFileBytes.h"
#include "UniqueHandle.h"
#include "WriteAllBytes.h"

namespace {
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Far more than any file the engine reads is allowed to hold.
const LONGLONG kLargestFile = 16 * 1024 * 1024;
} // namespace

bool ReadEngineFile(const std::wstring &path, std::string &bytes)
{
    DWORD error = 0;
    return ReadFileBytes(path, bytes, error, kShareAll, kLargestFile);
}

bool WriteFileBytes(const std::wstring &path, const std::string &bytes)
{
    unique_file file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAllBytes(file.get(), bytes);
}

bool AppendFileBytes(const std::wstring &path, const std::string &bytes)
{
    unique_file file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAllBytes(file.get(), bytes);
}
