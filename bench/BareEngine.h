// The floors' engine binding, plain Win32: the library loaded by name and all
// 26 entry points looked up, as the programs' loader does, and the two hooks
// doing what the programs' hooks do.
#pragma once

#include "EngineInterface.h"

#include <string>

struct BareEngine {
    HMODULE module = nullptr;
#define KEL_BARE_SLOT(name, params) name##_fn name = nullptr;
    KEL_ENTRY_POINTS(KEL_BARE_SLOT)
#undef KEL_BARE_SLOT

    // True when the library and every entry point are there.
    bool Load()
    {
        module = ::LoadLibraryW(KEL_ENGINE_FILE_NAME);
        bool complete = module != nullptr;
#define KEL_BARE_BIND(name, params)                                                                                  \
    name = module ? reinterpret_cast<name##_fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, #name)))    \
                  : nullptr;                                                                                         \
    complete = complete && name != nullptr;
        KEL_ENTRY_POINTS(KEL_BARE_BIND)
#undef KEL_BARE_BIND
        return complete;
    }
    void Free()
    {
        if (module)
            ::FreeLibrary(module);
        *this = BareEngine();
    }
};

inline BareEngine g_bare;
inline HWND g_bareMain = nullptr; // the window the title hook captions

inline int __cdecl BareMessageHook(int, int, int *result)
{
    if (result)
        *result = 1;
    return 1;
}

inline void __cdecl BareTitleHook(const wchar_t *first, const wchar_t *second, int flag)
{
    std::wstring title = std::wstring(first ? first : L"") + L" - " + (second ? second : L"") + (flag ? L"*" : L"");
    ::SetWindowTextW(g_bareMain, title.c_str());
}

// Every message of the main window goes to the engine first, as in the programs.
inline void BareForward(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_bare.Kel_SendMessage)
        g_bare.Kel_SendMessage(message, wParam, lParam, 0);
}
