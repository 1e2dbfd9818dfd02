// The print engine's exported entry points, as both programs call them.
// Every entry point is cdecl (the caller removes the arguments), every
// argument is 32 bits wide on the target, texts are zero-terminated UTF-16,
// and the result is a signed code in which 0 means success.
#pragma once

#include "EngineContract.h"

#include <windows.h>

// The two callbacks handed to Kel_InitMain. The engine calls them and, as
// with the entry points, removes their arguments itself.
typedef int(__cdecl *KelMessageHook)(int first, int second, int *result);
typedef void(__cdecl *KelTitleHook)(const wchar_t *first, const wchar_t *second, int flag);

// X(name, parameter list), in the order in which the loader resolves them.
#define KEL_ENTRY_POINTS(X)                                                   \
    X(Kel_InitMain, (KelMessageHook messageHook, KelTitleHook titleHook))     \
    X(Kel_InitStatus, (void))                                                 \
    X(Kel_Exit, (int force))                                                  \
    X(Kel_CreateMain, (HWND parent, int splash, const wchar_t *callerTag))    \
    X(Kel_CreateStatus, (HWND parent))                                        \
    X(Kel_GetWindowMain, (HWND * window))                                     \
    X(Kel_GetWindowStatus, (HWND * window))                                   \
    X(Kel_Print, (void))                                                      \
    X(Kel_ShowMain, (int showCommand, int x, int y))                          \
    X(Kel_ShowStatus, (int showCommand, int x, int y))                        \
    X(Kel_NewSettings, (void))                                                \
    X(Kel_OpenSettings, (wchar_t * nameOrPath))                               \
    X(Kel_SaveSettings, (wchar_t * path))                                     \
    X(Kel_OpenXMLSettings, (wchar_t * xml, int *errorPosition))               \
    X(Kel_GetPaperCatalog, (wchar_t * buffer))                                \
    X(Kel_GetSizeOfPaperCatalog, (int *size))                                 \
    X(Kel_ShowTab, (int pageCode, int show))                                  \
    X(Kel_ShowGuiElement, (int pageCode, int controlId, int show))            \
    X(Kel_ShowUIElement, (int elementId, int show))                           \
    X(Kel_GetVersion, (wchar_t * buffer))                                     \
    X(Kel_GetSizeOfVersion, (int *size))                                      \
    X(Kel_PreTranslateMessage, (MSG * message, int *handled))                 \
    X(Kel_SendMessage, (UINT message, WPARAM wParam, LPARAM lParam, int zero)) \
    X(Kel_GetMainMenu, (HMENU * menu))                                        \
    X(Kel_GetStringSize, (int stringId, int *size))                           \
    X(Kel_GetString, (int stringId, wchar_t *buffer))

// One pointer type per entry point: Kel_InitMain_fn and so on.
#define KEL_DECLARE_FN_TYPE(name, params) typedef int(__cdecl *name##_fn) params;
KEL_ENTRY_POINTS(KEL_DECLARE_FN_TYPE)
#undef KEL_DECLARE_FN_TYPE

// The file name the programs load; the system's library search decides
// which file that is.
#define KEL_ENGINE_FILE_NAME L"Solvetric.dll"
