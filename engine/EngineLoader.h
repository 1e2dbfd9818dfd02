// The one module through which both programs load, bind, call back and free
// the print engine.
#pragma once

#include "EngineInterface.h"

#include <string>
#include <type_traits>

// The engine's module handle and one slot per entry point, in the order in
// which they are resolved. A slot is null until resolved and stays null when
// the library lacks that export; callers test it before an optional call.
struct EngineEntryPoints {
    HMODULE hModule;
#define KEL_DECLARE_SLOT(name, params) name##_fn name;
    KEL_ENTRY_POINTS(KEL_DECLARE_SLOT)
#undef KEL_DECLARE_SLOT
};

// The program's one record, all zero at start.
extern EngineEntryPoints g_engine;

// The entry point's name for its slot in the record.
template <class Fn>
const char *EntryPointName(Fn EngineEntryPoints::*slot)
{
#define KEL_NAME_OF_SLOT(name, params)                    \
    if constexpr (std::is_same_v<Fn, name##_fn>) {        \
        if (slot == &EngineEntryPoints::name)             \
            return #name;                                 \
    }
    KEL_ENTRY_POINTS(KEL_NAME_OF_SLOT)
#undef KEL_NAME_OF_SLOT
    return "?";
}

// 0 loaded and complete, 26 library not loaded, 27 an export missing (the
// library then stays loaded).
int LoadEngine();
// The system's error code of the last LoadEngine that returned 26, else 0.
DWORD EngineLoadError();
// The file the system's library search takes for the engine: the program's
// folder, the one SetDllDirectoryW named, the system folders, the Windows
// folder and PATH's, in that order; empty when none holds the file. Error
// 126 means a missing file and a missing dependency alike: this tells them apart.
std::wstring FindEngineFile();
// 0 freed, 26 nothing loaded, 1 the system refused (record kept).
int FreeEngine();

// The two callbacks both programs hand to Kel_InitMain. They run inside the
// engine's frames, so nothing may leave them: when the caption cannot be
// built, SetTitleHook leaves it as it is.
int __cdecl MessageHook(int first, int second, int *result) noexcept;
void __cdecl SetTitleHook(const wchar_t *first, const wchar_t *second, int flag) noexcept;

// Calls an entry point through its slot in the record. The functions below
// that call the engine take a caller, so that a program can watch its calls.
struct DirectCall {
    template <class Fn, class... Args>
    int operator()(Fn EngineEntryPoints::*slot, Args... args) const
    {
        return (g_engine.*slot)(args...);
    }
};

// Pass a message of the main window to the engine; always false.
template <class Caller = DirectCall>
bool ForwardSendMessage(UINT message, WPARAM wParam, LPARAM lParam, Caller call = {})
{
    if (g_engine.Kel_GetWindowMain && g_engine.hModule && g_engine.Kel_SendMessage)
        call(&EngineEntryPoints::Kel_SendMessage, message, wParam, lParam, 0);
    return false;
}
// True when the engine consumed the queued message.
bool ForwardPreTranslateMessage(MSG *message);

// The caption SetTitleHook gives the main window: "first - second", with
// "*" appended when the flag is set.
std::wstring ComposeTitle(const wchar_t *first, const wchar_t *second, int flag);

// The engine's answers to Kel_Exit that keep a program open.
inline bool EngineRefusesExit(int result)
{
    return result == KEL_UNABLE_TO_EXIT_WHILE_PRINTING || result == KEL_USER_CANCELED;
}

// The help command of both programs: asks the engine, when it offers XML
// settings, to show its introduction. Nothing is reported either way.
template <class Caller = DirectCall>
void OpenEngineHelp(Caller call = {})
{
    if (!g_engine.Kel_OpenXMLSettings)
        return;
    wchar_t help[] = L"<Printer_Settings> <Help> Introduction </Help> </Printer_Settings>";
    int position = 0;
    call(&EngineEntryPoints::Kel_OpenXMLSettings, help, &position);
}
