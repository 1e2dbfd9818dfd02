#include "EngineFixture.h"

#include <fstream>

namespace {
std::wstring Env(const wchar_t *name)
{
    wchar_t value[4096] = {};
    DWORD length = ::GetEnvironmentVariableW(name, value, 4096);
    return length && length < 4096 ? value : L"";
}
} // namespace

std::wstring BuildPath(const std::wstring &relative) { return Env(L"KEL_BUILD_DIR") + L"\\" + relative; }

void EngineTest::SetUp()
{
    ASSERT_FALSE(Env(L"KEL_BUILD_DIR").empty()) << "KEL_BUILD_DIR names the build directory";
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_dir = std::wstring(temp) + L"kel-unit-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(m_dir.c_str(), nullptr);
    m_log = m_dir + L"\\calls.log";
    m_script = m_dir + L"\\script.txt";
    ::DeleteFileW(m_log.c_str());
    ::DeleteFileW(m_script.c_str());
    ::SetEnvironmentVariableW(L"SOLVETRIC_LOG", m_log.c_str());
    ::SetEnvironmentVariableW(L"SOLVETRIC_SCRIPT", m_script.c_str());
}

void EngineTest::TearDown()
{
    while (g_engine.hModule && FreeEngine() == KEL_OK) {
    }
    while (HMODULE left = ::GetModuleHandleW(KEL_ENGINE_FILE_NAME))
        ::FreeLibrary(left);
    ::SetDllDirectoryW(nullptr);
    ::DeleteFileW(m_log.c_str());
    ::DeleteFileW(m_script.c_str());
    ::RemoveDirectoryW(m_dir.c_str());
}

void EngineTest::SearchIn(const std::wstring &dir) { ::SetDllDirectoryW(dir.c_str()); }

void EngineTest::UseEngine(const std::string &variant)
{
    SearchIn(variant.empty() ? BuildPath(L"dist") : BuildPath(L"variants\\" + std::wstring(variant.begin(), variant.end())));
}

void EngineTest::Script(const std::string &text) { std::ofstream(m_script.c_str(), std::ios::binary) << text; }

void EngineTest::ClearLog() { ::DeleteFileW(m_log.c_str()); }

std::vector<std::string> EngineTest::Calls(const std::string &prefix) const
{
    std::vector<std::string> lines;
    std::ifstream in(m_log.c_str(), std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    }
    return lines;
}
