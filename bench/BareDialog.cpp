// The baseline of the start-up benchmark: a plain Win32 program showing a
// dialog as large as the host's frame, with no framework and no engine.
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
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(2619), nullptr, &BareDialogProc, 0);
    return 0;
}
