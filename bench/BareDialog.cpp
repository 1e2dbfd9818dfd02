// A bare Win32 dialog as large as the host's frame, loading no engine: what
// start-up costs before any engine work.
#include "BareDialog.h"

#include <windows.h>

namespace {
INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
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
