#include "CallLog.h"

#include "FileIo.h"

#include <windows.h>

#include <vector>

std::wstring EnvironmentValue(const wchar_t *name)
{
    std::vector<wchar_t> value(MAX_PATH);
    for (;;) {
        DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size())
            return std::wstring(value.data(), length);
        value.resize(length);
    }
}

void WriteLogLine(const std::string &line)
{
    std::wstring path = EnvironmentValue(L"SOLVETRIC_LOG");
    if (!path.empty())
        AppendFileBytes(path, line + "\n");
}
