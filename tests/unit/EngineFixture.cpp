#include "EngineFixture.h"

using uidriver::BuildPath;

void EngineTest::SetUp()
{
    ASSERT_NO_THROW(BuildPath(L"")) << "KEL_BUILD_DIR names the build directory";
    for (const auto &variable : m_sandbox.EngineEnvironment())
        ::SetEnvironmentVariableW(variable.first.c_str(), variable.second.c_str());
}

void EngineTest::TearDown()
{
    while (g_engine.hModule && FreeEngine() == KEL_OK) {
    }
    while (HMODULE left = ::GetModuleHandleW(KEL_ENGINE_FILE_NAME))
        ::FreeLibrary(left);
    ::SetDllDirectoryW(nullptr);
}

void EngineTest::SearchIn(const std::wstring &dir) { ::SetDllDirectoryW(dir.c_str()); }

void EngineTest::UseEngine(const std::string &variant)
{
    SearchIn(BuildPath(variant.empty() ? L"dist" : L"variants\\" + uidriver::Wide(variant)));
}
