#include "EngineLoader.h"

#include "Dialog.h"
#include "WinApp.h"

#include <string>

EngineEntryPoints g_engine = {};

namespace {
template <class Fn>
Fn Resolve(HMODULE module, const char *name)
{
    // Through the generic function type, since the slots' types differ.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
} // namespace

int LoadEngine()
{
    g_engine.hModule = ::LoadLibraryW(KEL_ENGINE_FILE_NAME);
    if (!g_engine.hModule)
        return KEL_DLL_NOT_LOADED;

#define KEL_RESOLVE(name, params) g_engine.name = Resolve<name##_fn>(g_engine.hModule, #name);
    KEL_ENTRY_POINTS(KEL_RESOLVE)
#undef KEL_RESOLVE

#define KEL_TEST_SLOT(name, params) \
    if (!g_engine.name)             \
        return KEL_DLL_FUNCTION_MISSING;
    KEL_ENTRY_POINTS(KEL_TEST_SLOT)
#undef KEL_TEST_SLOT
    return KEL_OK;
}

int FreeEngine()
{
    if (!g_engine.hModule)
        return KEL_DLL_NOT_LOADED;
    if (!::FreeLibrary(g_engine.hModule))
        return KEL_GENERAL_ERROR;
    g_engine = EngineEntryPoints{};
    return KEL_OK;
}

int __cdecl MessageHook(int, int, int *result) noexcept
{
    if (result)
        *result = 1;
    return 1;
}

std::wstring ComposeTitle(const wchar_t *first, const wchar_t *second, int flag)
{
    std::wstring title = first ? first : L"";
    title += L" - ";
    title += second ? second : L"";
    if (flag)
        title += L"*";
    return title;
}

void __cdecl SetTitleHook(const wchar_t *first, const wchar_t *second, int flag) noexcept
{
    CWinApp *thread = AfxGetThread();
    CDialog *mainWindow = thread ? thread->GetMainWnd() : nullptr;
    if (!mainWindow || !mainWindow->m_hWnd)
        return;
    try {
        mainWindow->SetWindowText(ComposeTitle(first, second, flag));
    } catch (...) {
        // No memory for the caption: the old one stays, and nothing reaches the engine.
    }
}

bool ForwardPreTranslateMessage(MSG *message)
{
    if (!g_engine.Kel_GetWindowMain || !g_engine.hModule || !g_engine.Kel_PreTranslateMessage)
        return false;
    int handled = 0;
    return g_engine.Kel_PreTranslateMessage(message, &handled) == KEL_OK && handled != 0;
}

static_assert(ID_HELP == ID_ENGINE_HELP_TOPICS, "the engine's Help Topics item is the framework's help command");
