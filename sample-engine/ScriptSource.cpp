#include "ScriptSource.h"

#include "CallLog.h"
#include "FileIo.h"

ScriptSource::ScriptSource() : m_script(std::make_shared<Script>()) {}

void ScriptSource::Refresh()
{
    std::wstring path = EnvironmentValue(L"SOLVETRIC_SCRIPT");
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    bool exists = !path.empty() && ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
                  !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (path == m_path && exists == m_exists && size == m_size &&
        ::CompareFileTime(&data.ftLastWriteTime, &m_writeTime) == 0)
        return;

    std::string bytes;
    auto script = std::make_shared<Script>();
    if (exists && ReadEngineFile(path, bytes))
        *script = ParseScript(bytes);
    m_path = path;
    m_exists = exists;
    m_size = size;
    m_writeTime = data.ftLastWriteTime;
    m_script = script;
    for (int line : script->unreadableLines)
        WriteLogLine("script: cannot read line " + std::to_string(line));
}
