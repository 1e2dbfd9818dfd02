// The engine loader against the sample engine and its builds that lack one export.
#include "EngineLoader.h"
#include "TestApp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {
std::wstring Env(const wchar_t *name)
{
    wchar_t value[4096] = {};
    DWORD length = ::GetEnvironmentVariableW(name, value, 4096);
    return length && length < 4096 ? value : L"";
}

std::wstring BuildPath(const std::wstring &relative) { return Env(L"KEL_BUILD_DIR") + L"\\" + relative; }

std::vector<std::string> ExportNames()
{
    return {
#define KEL_NAME(name, params) #name,
        KEL_ENTRY_POINTS(KEL_NAME)
#undef KEL_NAME
    };
}

// Slot name -> whether it is set.
std::vector<std::pair<std::string, bool>> Slots()
{
    return {
#define KEL_SLOT(name, params) {#name, g_engine.name != nullptr},
        KEL_ENTRY_POINTS(KEL_SLOT)
#undef KEL_SLOT
    };
}

bool AllSlotsNull()
{
    for (const auto &slot : Slots()) {
        if (slot.second)
            return false;
    }
    return true;
}

std::wstring Wide(const std::string &text) { return std::wstring(text.begin(), text.end()); }

class Loader : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Env(L"KEL_BUILD_DIR").empty()) << "KEL_BUILD_DIR names the build directory";
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"kel-loader-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_dir.c_str(), nullptr);
        m_log = m_dir + L"\\calls.log";
        m_script = m_dir + L"\\script.txt";
        ::DeleteFileW(m_log.c_str());
        ::DeleteFileW(m_script.c_str());
        ::SetEnvironmentVariableW(L"SOLVETRIC_LOG", m_log.c_str());
        ::SetEnvironmentVariableW(L"SOLVETRIC_SCRIPT", m_script.c_str());
    }

    void TearDown() override
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

    // The library search finds the engine in this folder (the test program's
    // own folder holds none).
    void SearchIn(const std::wstring &dir) { ::SetDllDirectoryW(dir.c_str()); }
    void UseEngine(const std::string &variant = "")
    {
        SearchIn(variant.empty() ? BuildPath(L"dist") : BuildPath(L"variants\\" + Wide(variant)));
    }

    void Script(const std::string &text) { std::ofstream(m_script.c_str(), std::ios::binary) << text; }

    std::vector<std::string> Calls(const std::string &prefix) const
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

    std::wstring m_dir, m_log, m_script;
};
} // namespace

TEST_F(Loader, NoLibraryLeavesTheRecordEmpty)
{
    SearchIn(m_dir);
    EXPECT_EQ(KEL_DLL_NOT_LOADED, LoadEngine());
    EXPECT_EQ(nullptr, g_engine.hModule);
    EXPECT_TRUE(AllSlotsNull());
    EXPECT_EQ(KEL_DLL_NOT_LOADED, FreeEngine()) << "nothing to free";
}

TEST_F(Loader, CompleteEngineBindsEverySlotAndFreeClearsThem)
{
    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    EXPECT_NE(nullptr, g_engine.hModule);
    for (const auto &slot : Slots())
        EXPECT_TRUE(slot.second) << slot.first << " resolved";
    EXPECT_EQ(KEL_OK, FreeEngine());
    EXPECT_EQ(nullptr, g_engine.hModule);
    EXPECT_TRUE(AllSlotsNull());
    EXPECT_EQ(nullptr, ::GetModuleHandleW(KEL_ENGINE_FILE_NAME)) << "the library is unloaded";
    EXPECT_EQ(KEL_DLL_NOT_LOADED, FreeEngine()) << "a second free finds nothing";
}

TEST_F(Loader, EachMissingExportGives27AndKeepsEveryOtherSlot)
{
    for (const std::string &missing : ExportNames()) {
        SCOPED_TRACE("engine without " + missing);
        UseEngine("without-" + missing);
        ASSERT_EQ(KEL_DLL_FUNCTION_MISSING, LoadEngine());
        EXPECT_NE(nullptr, g_engine.hModule) << "the library stays loaded";
        for (const auto &slot : Slots())
            EXPECT_EQ(slot.first != missing, slot.second) << slot.first;
        EXPECT_EQ(KEL_OK, FreeEngine());
        EXPECT_TRUE(AllSlotsNull());
        EXPECT_EQ(nullptr, ::GetModuleHandleW(KEL_ENGINE_FILE_NAME));
    }
}

TEST_F(Loader, LoadingTwiceTakesTwoReferencesAndOneFreeReleasesOne)
{
    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    HMODULE first = g_engine.hModule;
    ASSERT_EQ(KEL_OK, LoadEngine());
    EXPECT_EQ(first, g_engine.hModule);
    EXPECT_EQ(KEL_OK, FreeEngine());
    EXPECT_TRUE(AllSlotsNull());
    EXPECT_EQ(nullptr, g_engine.hModule);
    EXPECT_EQ(first, ::GetModuleHandleW(KEL_ENGINE_FILE_NAME)) << "one reference is still held";
}

TEST_F(Loader, ForwardingBeforeAnyLoadCallsNothing)
{
    MSG message = {nullptr, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_FALSE(ForwardSendMessage(WM_USER, 1, 2));
    EXPECT_FALSE(ForwardPreTranslateMessage(&message));
}

TEST_F(Loader, ForwardSendMessagePassesTheMessageAndAlwaysAnswersFalse)
{
    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    EXPECT_FALSE(ForwardSendMessage(WM_USER + 5, 7, 9));
    EXPECT_EQ(std::vector<std::string>{"Kel_SendMessage(1029, 7, 9, 0) = 0"}, Calls("Kel_SendMessage("));
}

TEST_F(Loader, ForwardingNeedsTheWindowSlotTheHandleAndItsOwnSlot)
{
    MSG message = {nullptr, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    struct Case {
        const char *variant;
        bool sends, pretranslates;
    } cases[] = {
        {"without-Kel_GetWindowMain", false, false},
        {"without-Kel_SendMessage", false, true},
        {"without-Kel_PreTranslateMessage", true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variant);
        ::DeleteFileW(m_log.c_str());
        UseEngine(c.variant);
        ASSERT_EQ(KEL_DLL_FUNCTION_MISSING, LoadEngine());
        ForwardSendMessage(WM_USER, 1, 2);
        ForwardPreTranslateMessage(&message);
        EXPECT_EQ(c.sends ? 1u : 0u, Calls("Kel_SendMessage(").size());
        EXPECT_EQ(c.pretranslates ? 1u : 0u, Calls("Kel_PreTranslateMessage(").size());
        ASSERT_EQ(KEL_OK, FreeEngine());
    }

    // Every slot set but no handle: neither function calls.
    ::DeleteFileW(m_log.c_str());
    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    HMODULE module = std::exchange(g_engine.hModule, nullptr);
    EXPECT_FALSE(ForwardSendMessage(WM_USER, 1, 2));
    EXPECT_FALSE(ForwardPreTranslateMessage(&message));
    g_engine.hModule = module;
    EXPECT_TRUE(Calls("Kel_").empty());
}

TEST_F(Loader, PreTranslationCountsOnlyWhenTheEngineConsumedAndSucceeded)
{
    MSG key = {nullptr, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    EXPECT_FALSE(ForwardPreTranslateMessage(&key)) << "result 0, flag left at 0";
    Script("consume 256\n");
    EXPECT_TRUE(ForwardPreTranslateMessage(&key)) << "result 0, flag set";
    Script("consume 256\nresult Kel_PreTranslateMessage = 5\n");
    EXPECT_FALSE(ForwardPreTranslateMessage(&key)) << "flag set, but result 5";
}

TEST(Hooks, MessageHookWritesOneWhateverItIsGiven)
{
    for (int first : {0, -1, 12345}) {
        int value = -7;
        EXPECT_EQ(1, MessageHook(first, first * 3, &value));
        EXPECT_EQ(1, value);
    }
}

namespace {
std::wstring Caption(HWND window)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

DWORD WINAPI SetTitleFromOtherThread(void *)
{
    SetTitleHook(L"Other", L"Thread", 0);
    return 0;
}
} // namespace

TEST(Hooks, SetTitleHookCaptionsTheMainWindowOfItsThread)
{
    StartTestApp();
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    g_testApp.m_pMainWnd = &dialog;

    struct Case {
        const wchar_t *first, *second;
        int flag;
        const wchar_t *expected;
    } cases[] = {
        {L"A", L"B", 0, L"A - B"},
        {L"A", L"B", 1, L"A - B*"},
        {L"Default", L"Solvetric", -3, L"Default - Solvetric*"},
        {L"", L"", 0, L" - "},
        {nullptr, nullptr, 0, L" - "},
    };
    for (const Case &c : cases) {
        SetTitleHook(c.first, c.second, c.flag);
        EXPECT_EQ(std::wstring(c.expected), Caption(dialog.m_hWnd));
    }

    HANDLE thread = ::CreateThread(nullptr, 0, &SetTitleFromOtherThread, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ::WaitForSingleObject(thread, 5000);
    ::CloseHandle(thread);
    EXPECT_EQ(L" - ", Caption(dialog.m_hWnd)) << "another thread changes nothing";

    g_testApp.m_pMainWnd = nullptr;
    SetTitleHook(L"No", L"Window", 0); // nothing to caption, nothing happens
    EXPECT_EQ(L" - ", Caption(dialog.m_hWnd));
}
