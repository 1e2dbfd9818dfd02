// The one module through which both programs load, bind, call back and free
// the print engine.
#pragma once

#include "EngineInterface.h"

#include <string>

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

// 0 loaded and complete, 26 library not loaded, 27 an export missing (the
// library then stays loaded).
int LoadEngine();
// 0 freed, 26 nothing loaded, 1 the system refused (record kept).
int FreeEngine();

// The two callbacks both programs hand to Kel_InitMain. They run inside the
// engine's frames, so nothing may leave them: when the caption cannot be
// built, SetTitleHook leaves it as it is.
int __cdecl MessageHook(int first, int second, int *result) noexcept;
void __cdecl SetTitleHook(const wchar_t *first, const wchar_t *second, int flag) noexcept;

// Pass a message of the main window to the engine; always false.
bool ForwardSendMessage(UINT message, WPARAM wParam, LPARAM lParam);
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
void OpenEngineHelp();
