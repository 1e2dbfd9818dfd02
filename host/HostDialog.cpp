#include "HostDialog.h"

#include "EngineLoader.h"
#include "MessageBox.h"
#include "MessageText.h"
#include "Paint.h"
#include "WinApp.h"
#include "resource.h"

#include <string>

namespace {
const COLORREF kBackground = RGB(169, 184, 212);
const wchar_t kCallerTag[] = L"Kelm.exe - 01_01_02";
// User-interface elements of the engine that the host does not offer.
const int kHiddenElements[] = {
    KEL_ELEMENT_DOCUMENT_PANEL, KEL_ELEMENT_NEW,           KEL_ELEMENT_SAVE,          KEL_ELEMENT_PRINT,
    KEL_ELEMENT_REFRESH,        KEL_ELEMENT_PRINTER_PANEL, KEL_ELEMENT_MESSAGE_PANEL, KEL_ELEMENT_STOP,
};
} // namespace

BEGIN_MESSAGE_MAP(CHostDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_COMMAND(ID_APP_EXIT, OnExitCommand)
    ON_COMMAND(ID_CLOSE_DOCUMENT, OnCloseDocumentCommand)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CHostDialog::CHostDialog(HWND parent)
    : CDialog(IDD_HOST, parent),
      m_hIcon(static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              0, 0, LR_DEFAULTSIZE))),
      m_nLoadResult(LoadEngine())
{
    // Shown before any window of the program exists.
    if (m_nLoadResult == KEL_DLL_NOT_LOADED)
        ShowEngineError(IDS_FILE_MISSING, EngineLoadFailureText());
    else if (m_nLoadResult == KEL_DLL_FUNCTION_MISSING)
        ShowEngineError(IDS_WRONG_VERSION);
}

CHostDialog::~CHostDialog()
{
    FreeEngine();
    DestroyWindow();
}

BOOL CHostDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hBackgroundBrush.reset(::CreateSolidBrush(kBackground));

    int result = StartEngine();
    if (result != KEL_OK) {
        if (result == KEL_DLL_FUNCTION_MISSING)
            ShowEngineError(IDS_WRONG_VERSION);
        else if (result == KEL_GENERAL_ERROR)
            ShowEngineError(IDS_INTERNAL_ERROR);
        EndDialog(0);
    } else {
        ::ShowWindow(GetDlgItem(IDC_NOT_LOADED), SW_HIDE);
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.get()));
    return TRUE;
}

int CHostDialog::StartEngine()
{
    if (g_engine.Kel_InitMain(&MessageHook, &SetTitleHook) != KEL_OK)
        return KEL_GENERAL_ERROR;
    if (g_engine.Kel_InitStatus() != KEL_OK)
        return KEL_GENERAL_ERROR;
    if (g_engine.Kel_CreateMain(m_hWnd, 1, kCallerTag) != KEL_OK)
        return KEL_GENERAL_ERROR;
    if (g_engine.Kel_CreateStatus(m_hWnd) != KEL_OK)
        return KEL_GENERAL_ERROR;

    RECT client = GetClientRect(), window = {};
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(&client), 2);
    ::GetWindowRect(m_hWnd, &window);
    int frameWidth = (window.right - window.left) - (client.right - client.left);
    int frameHeight = (window.bottom - window.top) - (client.bottom - client.top);

    std::wstring commandLine = AfxGetApp()->m_lpCmdLine;
    if (!commandLine.empty()) {
        std::wstring name = commandLine; // the engine takes a writable text
        if (g_engine.Kel_OpenSettings(&name[0]) != KEL_OK) {
            AfxMessageBox(SettingsFileErrorText(commandLine), MB_OK);
            int result = g_engine.Kel_NewSettings();
            if (result != KEL_OK)
                return result;
        }
    }

    for (int element : kHiddenElements) {
        if (g_engine.Kel_ShowUIElement(element, 0) != KEL_OK)
            return KEL_GENERAL_ERROR;
    }

    wchar_t defaultSettings[] = L"Default";
    g_engine.Kel_OpenSettings(defaultSettings);

    if (g_engine.Kel_ShowMain(SW_SHOW, 1, 0) != KEL_OK)
        return KEL_GENERAL_ERROR;
    HWND mainWindow = nullptr;
    if (g_engine.Kel_GetWindowMain(&mainWindow) != KEL_OK)
        return KEL_GENERAL_ERROR;

    RECT engineClient = {};
    ::GetClientRect(mainWindow, &engineClient);
    int width = engineClient.right - engineClient.left;
    int height = engineClient.bottom - engineClient.top;

    int result = g_engine.Kel_ShowStatus(SW_SHOW, 1, height + 4);
    if (result != KEL_OK)
        return result;

    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    HMENU engineMenu = nullptr;
    if (g_engine.Kel_GetMainMenu(&engineMenu) != KEL_OK)
        return KEL_GENERAL_ERROR;
    HMENU placeholder = ::GetMenu(m_hWnd);
    // A handle that is no menu leaves the placeholder in place, and alive.
    if (::SetMenu(m_hWnd, engineMenu) && placeholder)
        ::DestroyMenu(placeholder);
    return KEL_OK;
}

LRESULT CHostDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    ForwardSendMessage(message, wParam, lParam);
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CHostDialog::PreTranslateMessage(MSG *message)
{
    if (ForwardPreTranslateMessage(message))
        return TRUE;
    return CDialog::PreTranslateMessage(message);
}

HBRUSH CHostDialog::OnCtlColor(HDC, HWND, UINT)
{
    if (m_hBackgroundBrush)
        return m_hBackgroundBrush.get();
    return reinterpret_cast<HBRUSH>(Default());
}

void CHostDialog::OnPaint()
{
    if (!PaintMinimisedIcon(m_hWnd, m_hIcon.get()))
        Default();
}

HCURSOR CHostDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon.get()); }

void CHostDialog::OnOK()
{
    // Enter never closes the frame.
}

void CHostDialog::OnCancel()
{
    std::wstring question;
    LoadMessageText(IDS_HOST_CONFIRM_EXIT, question);
    if (AfxMessageBox(question, MB_YESNO) != IDYES)
        return;
    if (EngineRefusesExit(g_engine.Kel_Exit(0)))
        return;
    Default();
    CDialog::OnCancel();
}

void CHostDialog::OnExitCommand(UINT, int, HWND)
{
    if (EngineRefusesExit(g_engine.Kel_Exit(0)))
        return;
    CDialog::OnOK();
}

void CHostDialog::OnCloseDocumentCommand(UINT code, int id, HWND control)
{
    std::wstring question;
    LoadMessageText(IDS_CLOSE_DOCUMENT, question);
    if (AfxMessageBox(question, MB_YESNO) == IDYES)
        OnExitCommand(code, id, control);
}
