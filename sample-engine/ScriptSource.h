// The script named by SOLVETRIC_SCRIPT, read again whenever its name, size or
// write time changed, so that a test can rewrite it while the program runs.
#pragma once

#include "Script.h"

#include <windows.h>

#include <memory>
#include <string>

class ScriptSource {
public:
    ScriptSource();

    // Reads the script again if it changed; logs the lines it cannot read.
    void Refresh();
    // Kept alive by the caller, so a nested call that rereads the script
    // cannot pull it away.
    std::shared_ptr<const Script> Current() const { return m_script; }

private:
    std::wstring m_path;
    bool m_exists = false;
    ULONGLONG m_size = 0;
    FILETIME m_writeTime = {};
    std::shared_ptr<const Script> m_script;
};
