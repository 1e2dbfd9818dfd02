// The benchmarks' baseline program: plain Win32 with no framework. It shows a
// dialog as large as the host's frame; its buttons make only the engine calls
// of a start and an end, open and close one small modal dialog, and show the
// system's file dialogs, so the programs' own cost can be told from the
// engine's and the system's.
#include "BareDialog.h"

#include "EngineInterface.h"

#include <commdlg.h>

namespace {
int __cdecl IgnoreMessage(int, int, int *) { return 0; }
void __cdecl IgnoreTitle(const wchar_t *, const wchar_t *, int) {}

HMODULE g_engine = nullptr; // one engine at a time, as in the programs

template <class Function> Function Entry(const char *name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(g_engine, name)));
}

// Load, create and show both engine windows; true when all of it worked.
bool StartEngine(HWND dialog)
{
    g_engine = ::LoadLibraryW(KEL_ENGINE_FILE_NAME);
    if (!g_engine)
        return false;
    auto initMain = Entry<Kel_InitMain_fn>("Kel_InitMain");
    auto createMain = Entry<Kel_CreateMain_fn>("Kel_CreateMain");
    auto showMain = Entry<Kel_ShowMain_fn>("Kel_ShowMain");
    auto initStatus = Entry<Kel_InitStatus_fn>("Kel_InitStatus");
    auto createStatus = Entry<Kel_CreateStatus_fn>("Kel_CreateStatus");
    auto showStatus = Entry<Kel_ShowStatus_fn>("Kel_ShowStatus");
    return initMain && createMain && showMain && initStatus && createStatus && showStatus &&
           initMain(IgnoreMessage, IgnoreTitle) == KEL_OK && createMain(dialog, 0, L"Bare Dialog") == KEL_OK &&
           showMain(SW_SHOW, 2, 8) == KEL_OK && initStatus() == KEL_OK && createStatus(dialog) == KEL_OK &&
           showStatus(SW_SHOW, 2, 420) == KEL_OK;
}

void FreeEngine()
{
    if (!g_engine)
        return;
    if (auto exit = Entry<Kel_Exit_fn>("Kel_Exit"))
        exit(0);
    ::FreeLibrary(g_engine);
    g_engine = nullptr;
}

INT_PTR CALLBACK SmallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The file dialogs as the harness shows them, and nothing done with the name.
void ShowFileDialog(HWND owner, bool open)
{
    wchar_t file[MAX_PATH] = L"*.xml";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = L"XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"xml";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | (open ? OFN_FILEMUSTEXIST : 0);
    if (open)
        ::GetOpenFileNameW(&ofn);
    else
        ::GetSaveFileNameW(&ofn);
}

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_BARE_START:
        ::SetDlgItemTextW(dialog, IDC_BARE_STATE, StartEngine(dialog) ? L"Created" : L"Failed");
        return TRUE;
    case IDC_BARE_FREE:
        FreeEngine();
        ::SetDlgItemTextW(dialog, IDC_BARE_STATE, L"NULL");
        return TRUE;
    case IDC_BARE_OPEN:
        ::DialogBoxParamW(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)),
                          MAKEINTRESOURCEW(IDD_BARE_SMALL), dialog, &SmallDialogProc, 0);
        return TRUE;
    case IDC_BARE_OPEN_FILE:
    case IDC_BARE_SAVE_FILE:
        ShowFileDialog(dialog, LOWORD(wParam) == IDC_BARE_OPEN_FILE);
        return TRUE;
    case IDCANCEL:
        FreeEngine();
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_BARE), nullptr, &BareDialogProc, 0);
    return 0;
}
