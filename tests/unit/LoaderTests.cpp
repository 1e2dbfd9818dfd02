// The engine loader against the sample engine and its builds that lack one export.
#include "EngineFixture.h"
#include "TestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {
// While a FailingAllocations lives, every allocation fails as it does when
// memory runs out.
bool g_allocationsFail = false;

struct FailingAllocations {
    FailingAllocations() { g_allocationsFail = true; }
    ~FailingAllocations() { g_allocationsFail = false; }
    FailingAllocations(const FailingAllocations &) = delete;
    FailingAllocations &operator=(const FailingAllocations &) = delete;
};
} // namespace

// The runtime's operator delete gives the block back with free().
void *operator new(std::size_t size)
{
    if (!g_allocationsFail) {
        if (void *block = std::malloc(size ? size : 1))
            return block;
    }
    throw std::bad_alloc();
}

namespace {
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

using Loader = EngineTest;
} // namespace

TEST_F(Loader, NoLibraryLeavesTheRecordEmpty)
{
    SearchIn(m_sandbox.Dir());
    EXPECT_EQ(KEL_DLL_NOT_LOADED, LoadEngine());
    EXPECT_EQ(nullptr, g_engine.hModule);
    EXPECT_TRUE(AllSlotsNull());
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), EngineLoadError());
    EXPECT_EQ(L"", FindEngineFile()) << "no file in any folder the search looks in";
    EXPECT_EQ(KEL_DLL_NOT_LOADED, FreeEngine()) << "nothing to free";

    // A file of the name that is no library: there, but not loaded.
    const std::wstring planted = m_sandbox.Path(KEL_ENGINE_FILE_NAME);
    ASSERT_NO_THROW(m_sandbox.WriteFileBytes(KEL_ENGINE_FILE_NAME, "not a library\r\n"));
    EXPECT_EQ(KEL_DLL_NOT_LOADED, LoadEngine());
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_EXE_FORMAT), EngineLoadError());
    EXPECT_EQ(planted, FindEngineFile()) << "found in the folder the search was given";
    ::DeleteFileW(planted.c_str());

    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    EXPECT_EQ(0u, EngineLoadError()) << "a load that succeeds leaves no error behind";
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

TEST_F(Loader, SampleEngineWaitsForItsFirstCallBeforeAnyWork)
{
    UseEngine();
    Script("counthandles\n");
    ASSERT_EQ(KEL_OK, LoadEngine());
    EXPECT_TRUE(Calls("").empty()) << "under the loader lock the engine only notes its module";
    int size = 0;
    g_engine.Kel_GetSizeOfVersion(&size);
    g_engine.Kel_GetSizeOfVersion(&size);
    std::vector<std::string> log = Calls("");
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(0u, log[0].find("handles windows=")) << "the first call counts first: " << log[0];
    EXPECT_EQ(0u, log[1].find("Kel_GetSizeOfVersion(")) << log[1];
    EXPECT_EQ(KEL_OK, FreeEngine());
    EXPECT_EQ(std::vector<std::string>{"detach by FreeLibrary"}, Calls("detach"));
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
        ClearLog();
        UseEngine(c.variant);
        ASSERT_EQ(KEL_DLL_FUNCTION_MISSING, LoadEngine());
        ForwardSendMessage(WM_USER, 1, 2);
        ForwardPreTranslateMessage(&message);
        EXPECT_EQ(c.sends ? 1u : 0u, Calls("Kel_SendMessage(").size());
        EXPECT_EQ(c.pretranslates ? 1u : 0u, Calls("Kel_PreTranslateMessage(").size());
        ASSERT_EQ(KEL_OK, FreeEngine());
    }

    // Every slot set but no handle: neither function calls.
    ClearLog();
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

TEST(Hooks, SetTitleHookWithoutMemoryLeavesTheCaption)
{
#if defined(__clang__)
    // Linked by lld, the string code of g++'s static libstdc++ lets no
    // exception back out into clang's frames: it ends in std::terminate there
    // whatever catches it. The shipped g++ build runs this test.
    GTEST_SKIP() << "exceptions do not unwind through libstdc++'s string code in the clang build";
#endif
    StartTestApp();
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    g_testApp.m_pMainWnd = &dialog;
    SetTitleHook(L"Settings before", L"Solvetric", 0);
    {
        FailingAllocations failing;
        SetTitleHook(L"Settings after", L"Solvetric", 1); // runs inside the engine: nothing may leave it
    }
    EXPECT_EQ(L"Settings before - Solvetric", Caption(dialog.m_hWnd));
    g_testApp.m_pMainWnd = nullptr;
}
