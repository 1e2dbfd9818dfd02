#include "EngineLoader.h"

#include "Dialog.h"
#include "WinApp.h"

#include <algorithm>
#include <string>
#include <vector>

EngineEntryPoints g_engine = {};

namespace {
DWORD g_loadError = 0;

// A text the system writes into a buffer, asked again at the size it says it
// needs; empty when there is none.
template <class Fill>
std::wstring SystemText(Fill fill)
{
    std::wstring text(MAX_PATH, L'\0');
    DWORD length = fill(&text[0], static_cast<DWORD>(text.size()));
    if (length >= text.size()) {
        text.resize(length);
        length = fill(&text[0], length);
    }
    text.resize(length < text.size() ? length : 0);
    return text;
}

std::vector<std::wstring> PathFolders()
{
    std::vector<std::wstring> folders;
    const std::wstring path =
        SystemText([](wchar_t *buffer, DWORD size) { return ::GetEnvironmentVariableW(L"PATH", buffer, size); });
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = std::min(path.find(L';', start), path.size());
        std::wstring folder = path.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty())
            folders.push_back(folder);
        start = end + 1;
    }
    return folders;
}

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
    g_loadError = g_engine.hModule ? 0 : ::GetLastError();
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

DWORD EngineLoadError() { return g_loadError; }

std::wstring FindEngineFile()
{
    const std::wstring program = ModuleFileName();
    std::vector<std::wstring> folders = {
        program.substr(0, program.find_last_of(L"\\/") + 1),
        SystemText([](wchar_t *buffer, DWORD size) { return ::GetDllDirectoryW(size, buffer); }),
        SystemText([](wchar_t *buffer, DWORD size) { return ::GetSystemDirectoryW(buffer, size); })};
    const std::wstring windows =
        SystemText([](wchar_t *buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); });
    if (!windows.empty())
        folders.insert(folders.end(), {windows + L"\\System", windows});
    for (const std::wstring &folder : PathFolders())
        folders.push_back(folder);
    for (const std::wstring &folder : folders) {
        if (folder.empty())
            continue;
        const bool separated = folder.back() == L'\\' || folder.back() == L'/';
        const std::wstring candidate = folder + (separated ? L"" : L"\\") + KEL_ENGINE_FILE_NAME;
        const DWORD attributes = ::GetFileAttributesW(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return candidate;
    }
    return std::wstring();
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
