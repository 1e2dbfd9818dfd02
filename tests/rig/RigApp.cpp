#include "EngineLoader.h"
#include "FaultReport.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "RigDialog.h"
#include "RigEngineDialog.h"
#include "Strings.h"
#include "WaitCursor.h"
#include "WinApp.h"
#include "resource.h"

#include <stdexcept>
#include <string>

namespace {
class CRigApp : public CWinApp {
public:
    CRigApp() : CWinApp(IDS_ESCAPED) {}

    BOOL InitInstance() override
    {
        InstallFaultReport(LoadResString(IDS_FAULT), AfxGetAppName());
        if (std::wstring(m_lpCmdLine) == L"/throw")
            throw std::runtime_error("thrown by InitInstance");
        try {
            if (std::wstring(m_lpCmdLine) == L"/engine") {
                CRigEngineDialog dialog;
                m_pMainWnd = &dialog;
                dialog.DoModal();
            } else {
                CRigDialog dialog;
                m_pMainWnd = &dialog;
                dialog.DoModal();
            }
        } catch (const std::exception &error) {
            std::string what = error.what();
            AfxMessageBox(LoadResString(IDS_CAUGHT) + std::wstring(what.begin(), what.end()), MB_ICONERROR);
        }
        m_pMainWnd = nullptr;
        return FALSE;
    }

private:
    void OnAppCommand(UINT, int, HWND) { AfxMessageBox(L"The application handled the command."); }
    void OnHelp(UINT, int, HWND) { AfxMessageBox(L"The application handled help."); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRigApp, CWinApp)
    ON_COMMAND(IDM_APP_COMMAND, OnAppCommand)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CRigApp theApp;
} // namespace

BEGIN_MESSAGE_MAP(CRigDialog, CDialog)
    ON_COMMAND(IDC_COUNT, OnCountClicked)
    ON_COMMAND(IDC_BOX, OnBoxClicked)
    ON_COMMAND(IDC_THROW, OnThrowClicked)
    ON_COMMAND(IDC_WAIT_BUTTON, OnWaitClicked)
    ON_COMMAND(IDC_OPEN, OnOpenClicked)
    ON_COMMAND(IDC_FAULT, OnFaultClicked)
    ON_COMMAND(IDM_DIALOG_COMMAND, OnDialogCommand)
    ON_CONTROL(EN_SETFOCUS, IDC_INPUT, OnInputFocus)
END_MESSAGE_MAP()

CRigDialog::CRigDialog() : CDialog(IDD_RIG) {}

void CRigDialog::DoDataExchange(CDataExchange *dx)
{
    DDX_Control(dx, IDC_INPUT, m_input);
    DDX_Control(dx, IDC_CLICKS, m_clicks);
    DDX_Control(dx, IDC_CREATION, m_creation);
    DDX_Control(dx, IDC_KEYS, m_keys);
    DDX_Control(dx, IDC_CHOICES, m_choices);
}

BOOL CRigDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_initialised = true;
    m_creation.SetWindowText(m_createdBeforeInit ? L"Creation seen before initialisation"
                                                 : L"Creation not seen");
    m_choices.SetCurSel(0);
    ::SetDlgItemTextW(m_hWnd, IDC_LONG_TEXT, LoadResString(IDS_LONG_TEXT).c_str());
    return TRUE;
}

LRESULT CRigDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_NCCREATE || message == WM_CREATE) && !m_initialised)
        m_createdBeforeInit = true;
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CRigDialog::PreTranslateMessage(MSG *message)
{
    if (message->message == WM_KEYDOWN) {
        m_keys.SetWindowText(L"Keys: " + std::to_wstring(++m_keyDownCount));
        // Q never reaches the controls: the dialog keeps it for itself.
        if (message->wParam == 'Q')
            return TRUE;
    }
    return CDialog::PreTranslateMessage(message);
}

void CRigDialog::OnCountClicked(UINT, int, HWND)
{
    m_clicks.SetWindowText(L"Clicks: " + std::to_wstring(++m_clickCount));
}

void CRigDialog::OnBoxClicked(UINT, int, HWND) { AfxMessageBox(L"Text: " + m_input.GetWindowText()); }

void CRigDialog::OnThrowClicked(UINT, int, HWND) { throw std::runtime_error("thrown by a handler"); }

void CRigDialog::OnWaitClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    AfxMessageBox(CWaitCursor::Active() ? L"Waiting" : L"Not waiting");
}

void CRigDialog::OnFaultClicked(UINT, int, HWND)
{
    // Runs code that is gone, as a freed library's window procedure is.
    void *page = ::VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    ::VirtualFree(page, 0, MEM_RELEASE);
    reinterpret_cast<void (*)()>(page)();
}

void CRigDialog::OnOpenClicked(UINT, int, HWND)
{
    CFileDialog dialog(true, L"txt", L"*.txt", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, LoadResString(IDS_TEXT_FILTER));
    if (dialog.DoModal() == IDOK)
        ::SetDlgItemTextW(m_hWnd, IDC_CHOSEN, dialog.GetPathName().c_str());
}

void CRigDialog::OnDialogCommand(UINT, int, HWND) { m_clicks.SetWindowText(L"Dialog command"); }

void CRigDialog::OnInputFocus(UINT, int, HWND) { m_input.SetSel(0, -1); }

CRigEngineDialog::CRigEngineDialog() : CDialog(IDD_RIG_ENGINE)
{
    int loaded = LoadEngine();
    if (loaded != KEL_OK)
        AfxMessageBox(L"The engine could not be loaded: " + std::to_wstring(loaded), MB_ICONERROR);
}

CRigEngineDialog::~CRigEngineDialog()
{
    DestroyWindow();
    FreeEngine();
}

BOOL CRigEngineDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    int started = g_engine.hModule ? StartEngine() : KEL_DLL_NOT_LOADED;
    ::SetDlgItemTextW(m_hWnd, IDC_ENGINE_STATE, (L"Engine start: " + std::to_wstring(started)).c_str());
    return TRUE;
}

int CRigEngineDialog::StartEngine()
{
    int result = g_engine.Kel_InitMain(&MessageHook, &SetTitleHook);
    if (result == KEL_OK)
        result = g_engine.Kel_InitStatus();
    if (result == KEL_OK)
        result = g_engine.Kel_CreateMain(m_hWnd, 1, L"KelRig");
    if (result == KEL_OK)
        result = g_engine.Kel_CreateStatus(m_hWnd);
    if (result == KEL_OK)
        result = g_engine.Kel_ShowMain(SW_SHOW, 0, 16);
    HWND main = nullptr;
    if (result == KEL_OK)
        result = g_engine.Kel_GetWindowMain(&main);
    if (result != KEL_OK || !main)
        return result;

    RECT client = {};
    ::GetClientRect(main, &client);
    result = g_engine.Kel_ShowStatus(SW_SHOW, 0, 16 + client.bottom + 4);
    HMENU menu = nullptr;
    if (result == KEL_OK && g_engine.Kel_GetMainMenu(&menu) == KEL_OK && menu)
        ::SetMenu(m_hWnd, menu);

    // Fit the dialog around the engine's main window.
    RECT window = {}, frame = {};
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &frame);
    int width = client.right + (window.right - window.left) - frame.right;
    int height = 16 + client.bottom + (window.bottom - window.top) - frame.bottom;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    return result;
}

LRESULT CRigEngineDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    ForwardSendMessage(message, wParam, lParam);
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CRigEngineDialog::PreTranslateMessage(MSG *message)
{
    return ForwardPreTranslateMessage(message) || CDialog::PreTranslateMessage(message);
}

void CRigEngineDialog::OnCancel()
{
    if (g_engine.Kel_Exit) {
        int result = g_engine.Kel_Exit(0);
        if (result == KEL_UNABLE_TO_EXIT_WHILE_PRINTING || result == KEL_USER_CANCELED)
            return;
    }
    CDialog::OnCancel();
}
