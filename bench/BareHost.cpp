// The floor of the host's start-up: plain Win32 with WinKelExe's own
// resources (the same dialog, menu and icon), no framework. It loads the
// engine, makes the host's start-up calls in the host's order, shows the
// dialog and runs a message loop that lets the engine pre-translate, as the
// host does; the messages of the dialog go to the engine first.
#include "BareEngine.h"

#include "UniqueHandle.h"
#include "resource.h"

namespace {
unique_hbrush g_background;

// The host's start-up sequence, step for step; false when a step failed.
bool StartEngine(HWND dialog)
{
    static const int kHiddenElements[] = {39, 1, 36, 37, 38, 43, 80, 2};
    if (g_bare.Kel_InitMain(&BareMessageHook, &BareTitleHook) != KEL_OK || g_bare.Kel_InitStatus() != KEL_OK ||
        g_bare.Kel_CreateMain(dialog, 1, L"Kelm.exe - 01_01_02") != KEL_OK ||
        g_bare.Kel_CreateStatus(dialog) != KEL_OK)
        return false;
    RECT client = {}, window = {};
    ::GetClientRect(dialog, &client);
    ::GetWindowRect(dialog, &window);
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    for (int element : kHiddenElements) {
        if (g_bare.Kel_ShowUIElement(element, 0) != KEL_OK)
            return false;
    }
    wchar_t defaultSettings[] = L"Default";
    g_bare.Kel_OpenSettings(defaultSettings);
    HWND mainWindow = nullptr;
    if (g_bare.Kel_ShowMain(SW_SHOW, 1, 0) != KEL_OK || g_bare.Kel_GetWindowMain(&mainWindow) != KEL_OK)
        return false;
    RECT engine = {};
    ::GetClientRect(mainWindow, &engine);
    if (g_bare.Kel_ShowStatus(SW_SHOW, 1, engine.bottom + 4) != KEL_OK)
        return false;
    ::SetWindowPos(dialog, nullptr, 0, 0, engine.right + frameWidth, engine.bottom + frameHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HMENU menu = nullptr;
    if (g_bare.Kel_GetMainMenu(&menu) != KEL_OK)
        return false;
    HMENU placeholder = ::GetMenu(dialog);
    if (::SetMenu(dialog, menu) && placeholder)
        ::DestroyMenu(placeholder);
    return true;
}

INT_PTR CALLBACK HostProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    BareForward(message, wParam, lParam);
    switch (message) {
    case WM_INITDIALOG: {
        g_bareMain = dialog;
        g_background.reset(::CreateSolidBrush(RGB(169, 184, 212)));
        if (!StartEngine(dialog))
            ::PostQuitMessage(1);
        ::ShowWindow(::GetDlgItem(dialog, IDC_NOT_LOADED), SW_HIDE);
        HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                     IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return reinterpret_cast<INT_PTR>(g_background.get());
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            g_bare.Kel_Exit(0);
            ::DestroyWindow(dialog);
            ::PostQuitMessage(0);
        }
        return TRUE;
    default: return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    if (!g_bare.Load())
        return 1;
    HWND dialog = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_HOST), nullptr, &HostProc, 0);
    if (!dialog)
        return 1;
    ::ShowWindow(dialog, SW_SHOWNORMAL);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        int handled = 0;
        if (g_bare.Kel_PreTranslateMessage(&message, &handled) == KEL_OK && handled)
            continue;
        if (!::IsDialogMessageW(dialog, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    g_bare.Free();
    return 0;
}
