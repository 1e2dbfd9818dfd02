#include "MessageBox.h"

#include "Dialog.h"
#include "Strings.h"
#include "WinApp.h"

int AfxMessageBox(const std::wstring &text, UINT type)
{
    HWND owner = nullptr;
    if (CWinApp *app = AfxGetApp(); app && app->m_pMainWnd) {
        HWND main = app->m_pMainWnd->m_hWnd;
        if (main && ::IsWindowVisible(main) && ::IsWindowEnabled(main))
            owner = ::GetLastActivePopup(main);
    }
    return ::MessageBoxW(owner, text.c_str(), AfxGetAppName().c_str(), type);
}

int AfxMessageBox(UINT stringId, UINT type) { return AfxMessageBox(LoadResString(stringId), type); }
