#include "HarnessDialog.h"

#include "EngineLoader.h"
#include "ErrorReport.h"
#include "FixedFont.h"
#include "MessageBox.h"
#include "PageCodes.h"
#include "Paint.h"
#include "Strings.h"
#include "WaitCursor.h"
#include "WinApp.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CHarnessDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_COMMAND_RANGE(IDC_PAGE_PRINTERS, IDC_PAGE_COLOR_MAPPING, OnPageToggled)
    ON_COMMAND(ID_APP_EXIT, OnExitCommand)
    ON_COMMAND(ID_CLOSE_DOCUMENT, OnCloseDocumentCommand)
    ON_COMMAND(IDC_LOAD, OnLoadClicked)
    ON_COMMAND(IDC_FREE, OnFreeClicked)
    ON_COMMAND(IDC_INIT_MAIN, OnInitMainClicked)
    ON_COMMAND(IDC_CREATE_MAIN, OnCreateMainClicked)
    ON_COMMAND(IDC_SHOW_MAIN, OnShowMainClicked)
    ON_COMMAND(IDC_HIDE_MAIN, OnHideMainClicked)
    ON_COMMAND(IDC_GET_WINDOW_MAIN, OnGetWindowMainClicked)
    ON_COMMAND(IDC_INIT_STATUS, OnInitStatusClicked)
    ON_COMMAND(IDC_CREATE_STATUS, OnCreateStatusClicked)
    ON_COMMAND(IDC_SHOW_STATUS, OnShowStatusClicked)
    ON_COMMAND(IDC_HIDE_STATUS, OnHideStatusClicked)
    ON_COMMAND(IDC_GET_WINDOW_STATUS, OnGetWindowStatusClicked)
    ON_COMMAND(IDC_VERSION, OnVersionClicked)
    ON_COMMAND(IDC_PAPER_CATALOG, OnPaperCatalogClicked)
    ON_COMMAND(IDC_PRINT, OnPrintClicked)
    ON_COMMAND(IDC_KEL_EXIT, OnKelExitClicked)
    ON_COMMAND(IDC_SHOW_GUI, OnShowGuiClicked)
    ON_COMMAND(IDC_QUICK_START, OnQuickStartClicked)
    ON_COMMAND(IDC_QUICK_FREE, OnQuickFreeClicked)
    ON_COMMAND(IDC_EXIT, OnExitClicked)
    ON_COMMAND(IDC_CLEAR_XML, OnClearXmlClicked)
    ON_COMMAND(IDC_LOAD_XML, OnLoadXmlClicked)
    ON_COMMAND(IDC_SAVE_XML, OnSaveXmlClicked)
    ON_COMMAND(IDC_APPLY_XML, OnApplyXmlClicked)
    ON_COMMAND(IDC_BROWSE, OnBrowseClicked)
    ON_COMMAND(IDC_NEW_SETTINGS, OnNewSettingsClicked)
    ON_COMMAND(IDC_OPEN_SETTINGS, OnOpenSettingsClicked)
    ON_COMMAND(IDC_SAVE_SETTINGS, OnSaveSettingsClicked)
END_MESSAGE_MAP()

CHarnessDialog::CHarnessDialog(HWND parent)
    : CDialog(IDD_HARNESS, parent),
      m_hIcon(static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              0, 0, LR_DEFAULTSIZE)))
{
}

CHarnessDialog::~CHarnessDialog()
{
    FreeEngine(); // without Kel_Exit: the close paths called it when they could
    if (m_pGuiElementDialog) {
        m_pGuiElementDialog->DestroyWindow();
        m_pGuiElementDialog.reset();
    }
    DestroyWindow();
    m_pFixedFont.reset();
}

void CHarnessDialog::DoDataExchange(CDataExchange *dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ENGINE_FRAME, m_engineFrame);
    DDX_Control(dx, IDC_STATUS_STATE, m_statusState);
    DDX_Control(dx, IDC_MAIN_STATE, m_mainState);
    DDX_Control(dx, IDC_LIBRARY_STATE, m_libraryState);
    DDX_Control(dx, IDC_FILE_NAME, m_fileName);
    DDX_Control(dx, IDC_XML, m_xml);
}

BOOL CHarnessDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pFixedFont = CreateFixedFont(L"Courier New", 14);
    if (m_pFixedFont)
        m_xml.SetFont(m_pFixedFont->GetSafeHandle(), TRUE);
    m_xml.SendMessage(EM_SETLIMITTEXT, 0); // as much as the box can hold: files of megabytes load whole
    OpenCommandLineSettings();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.get()));
    PressAllPageToggles();
    SetState(m_libraryState, IDS_NULL);
    SetState(m_mainState, IDS_NULL);
    SetState(m_statusState, IDS_NULL);
    return TRUE;
}

void CHarnessDialog::PressAllPageToggles() const
{
    for (const HarnessPage &page : kHarnessPages) {
        if (HWND toggle = GetDlgItem(page.toggleId))
            ::SendMessageW(toggle, BM_SETCHECK, BST_CHECKED, 0);
    }
}

void CHarnessDialog::OpenCommandLineSettings()
{
    const std::wstring commandLine = AfxGetApp()->m_lpCmdLine;
    if (commandLine.empty())
        return;
    if (!g_engine.Kel_OpenSettings) {
        HarnessMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
        return;
    }
    std::wstring name = commandLine; // the engine takes a writable text
    if (g_engine.Kel_OpenSettings(&name[0]) == KEL_OK)
        return;
    HarnessMessageBox(LoadResString(IDS_CANNOT_OPEN_SETTINGS) + L"\n" + commandLine, MB_OK);
    if (g_engine.Kel_NewSettings)
        g_engine.Kel_NewSettings();
}

void CHarnessDialog::TrackShift(UINT message, WPARAM wParam)
{
    if (wParam != VK_SHIFT)
        return;
    if (message == WM_KEYDOWN)
        m_bShiftDown = 1;
    else if (message == WM_KEYUP)
        m_bShiftDown = 0;
}

BOOL CHarnessDialog::PreTranslateMessage(MSG *message)
{
    // Keys pressed while a control has the focus pass only here.
    TrackShift(message->message, message->wParam);
    return CDialog::PreTranslateMessage(message);
}

LRESULT CHarnessDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    TrackShift(message, wParam);
    ForwardSendMessage(message, wParam, lParam);
    return CDialog::WindowProc(message, wParam, lParam);
}

void CHarnessDialog::OnPaint()
{
    if (!PaintMinimisedIcon(m_hWnd, m_hIcon.get()))
        Default();
}

HCURSOR CHarnessDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon.get()); }

void CHarnessDialog::OnPageToggled(UINT, int id, HWND control)
{
    CWaitCursor wait;
    // The toggle has already changed its state; it keeps it whatever the engine says.
    int state = ::SendMessageW(control ? control : GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    if (g_engine.Kel_ShowTab)
        ReportEngineError(g_engine.Kel_ShowTab(PageCodeOfToggle(id), state), 0);
    else
        HarnessMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
    ResetKeyState();
}

void CHarnessDialog::OnOK()
{
    // Enter outside the XML box and the buttons: no question, no Kel_Exit.
    CDialog::OnOK();
}

void CHarnessDialog::OnCancel()
{
    if (AfxMessageBox(IDS_CONFIRM_EXIT, MB_YESNO) != IDYES)
        return;
    CWaitCursor wait;
    if (g_engine.Kel_Exit && EngineRefusesExit(g_engine.Kel_Exit(0)))
        return;
    ResetKeyState();
    CDialog::OnCancel();
}

void CHarnessDialog::OnExitCommand(UINT, int, HWND)
{
    ResetKeyState();
    if (g_engine.Kel_Exit && EngineRefusesExit(g_engine.Kel_Exit(0)))
        return;
    CDialog::OnOK();
}

void CHarnessDialog::OnCloseDocumentCommand(UINT code, int id, HWND control)
{
    if (HarnessMessageBox(IDS_CLOSE_DOCUMENT, MB_YESNO) == IDYES)
        OnExitCommand(code, id, control);
    ResetKeyState();
}
