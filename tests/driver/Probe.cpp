// A bare dialog for the driver's self-test: it shows what it was started
// with and answers the driver's clicks, keys and reads.
#include <windows.h>

#include "ProbeResource.h"

#include <string>

namespace {
std::wstring Variable(const wchar_t *name)
{
    DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    std::wstring value(size, L'\0');
    if (size > 0)
        value.resize(::GetEnvironmentVariableW(name, &value[0], size));
    return value;
}

std::wstring CurrentFolder()
{
    DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    if (size > 0)
        folder.resize(::GetCurrentDirectoryW(size, &folder[0]));
    return folder;
}

void Initialise(HWND dialog)
{
    ::SetDlgItemTextW(dialog, IDC_PROBE_COMMAND_LINE, ::GetCommandLineW());
    ::SetDlgItemTextW(dialog, IDC_PROBE_LOG, Variable(L"SOLVETRIC_LOG").c_str());
    ::SetDlgItemTextW(dialog, IDC_PROBE_NOTE, Variable(L"PROBE_NOTE").c_str());
    ::SetDlgItemTextW(dialog, IDC_PROBE_FOLDER, CurrentFolder().c_str());
    for (const wchar_t *item : {L"Red", L"Grün", L"Blue"})
        ::SendDlgItemMessageW(dialog, IDC_PROBE_CHOICES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    ::SendDlgItemMessageW(dialog, IDC_PROBE_CHOICES, CB_SETCURSEL, 1, 0);
}

void Ask(HWND dialog)
{
    // Owner-less on purpose: the driver must find such boxes too.
    int answer = ::MessageBoxW(nullptr, L"Keep the probe's changes?", L"Probe Question", MB_YESNO | MB_ICONQUESTION);
    ::SetDlgItemTextW(dialog, IDC_PROBE_ANSWER, answer == IDYES ? L"Answer: Yes" : L"Answer: No");
}

INT_PTR CALLBACK ProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            Initialise(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_PROBE_ASK)
                Ask(dialog);
            else if (LOWORD(wParam) == IDCANCEL)
                ::EndDialog(dialog, PROBE_CANCELLED);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        ::EndDialog(dialog, -1);
        return TRUE;
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return static_cast<int>(::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PROBE), nullptr, ProbeProc, 0));
}
