#include "HarnessDialog.h"

#include "CommandFrame.h"
#include "EngineLoader.h"
#include "ErrorReport.h"
#include "MessageBox.h"
#include "HarnessPageTable.h"
#include "Paint.h"
#include "Strings.h"
#include "WinApp.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CHarnessDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_COMMAND_RANGE(IDC_PAGE_PRINTERS, IDC_PAGE_COLOR_MAPPING, OnPageToggled)
    ON_COMMAND(ID_APP_EXIT, OnExitCommand)
    ON_COMMAND(ID_CLOSE_DOCUMENT, OnCloseDocumentCommand)
    ON_COMMAND(IDC_EXIT, OnExitClicked)
    ON_COMMAND(ID_VIEW_CALL_TRACE, OnCallTraceCommand)
    CHAIN_COMMANDS_MEMBER(m_settings)
    CHAIN_COMMANDS_MEMBER(m_calls)
END_MESSAGE_MAP()

CHarnessDialog::CHarnessDialog(HWND parent)
    : CDialog(IDD_HARNESS, parent),
      m_hIcon(static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              0, 0, LR_DEFAULTSIZE)))
{
}

CHarnessDialog::~CHarnessDialog()
{
    EngineCalls::Free(); // without Kel_Exit: the close paths called it when they could
    m_calls.DestroyGuiElementDialog();
    m_pCallTrace.reset();
    DestroyWindow(); // before the panels go: the XML box still has their font
}

void CHarnessDialog::DoDataExchange(CDataExchange *dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ENGINE_FRAME, m_engineFrame);
    DDX_Control(dx, IDC_STATUS_STATE, m_statusState);
    DDX_Control(dx, IDC_MAIN_STATE, m_mainState);
    DDX_Control(dx, IDC_LIBRARY_STATE, m_libraryState);
    m_settings.DoDataExchange(dx);
}

BOOL CHarnessDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_settings.OnInitDialog();
    m_settings.OpenCommandLineSettings();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.get()));
    PressAllPageToggles();
    SetState(StateBox::Library, IDS_NULL);
    SetState(StateBox::Main, IDS_NULL);
    SetState(StateBox::Status, IDS_NULL);
    return TRUE;
}

void CHarnessDialog::SetState(StateBox box, UINT stringId)
{
    CEdit &shown = box == StateBox::Library ? m_libraryState : box == StateBox::Main ? m_mainState : m_statusState;
    shown.SetWindowText(LoadResString(stringId));
}

RECT CHarnessDialog::FrameRectangle() const
{
    RECT frame = m_engineFrame.GetClientRect();
    ::MapWindowPoints(m_engineFrame.m_hWnd, m_hWnd, reinterpret_cast<POINT *>(&frame), 2);
    return frame;
}

void CHarnessDialog::PressAllPageToggles()
{
    for (const HarnessPage &page : kHarnessPages) {
        if (HWND toggle = GetDlgItem(page.toggleId))
            ::SendMessageW(toggle, BM_SETCHECK, BST_CHECKED, 0);
    }
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
    ForwardSendMessage(message, wParam, lParam, RelayCall());
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
    CCommandFrame frame(*this);
    // The toggle has already changed its state; it keeps it whatever the engine says.
    int state = ::SendMessageW(control ? control : GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    if (frame.LoadedElseReset(&Entry::Kel_ShowTab))
        frame.Report(EngineCalls::Call(&Entry::Kel_ShowTab, PageCodeOfToggle(id), state));
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
    CCommandFrame frame(*this);
    if (g_engine.Kel_Exit && EngineRefusesExit(EngineCalls::Call(&Entry::Kel_Exit, 0))) {
        frame.ExitRefused();
        return;
    }
    CDialog::OnCancel();
}

// The menu's ways out run without a wait cursor; the key state is reset all the same.
void CHarnessDialog::OnExitCommand(UINT, int, HWND)
{
    ResetKeyState();
    if (g_engine.Kel_Exit && EngineRefusesExit(EngineCalls::Call(&Entry::Kel_Exit, 0)))
        return;
    CDialog::OnOK();
}

void CHarnessDialog::OnCloseDocumentCommand(UINT code, int id, HWND control)
{
    if (HarnessMessageBox(IDS_CLOSE_DOCUMENT, MB_YESNO) == IDYES)
        OnExitCommand(code, id, control);
    ResetKeyState();
}

void CHarnessDialog::OnExitClicked(UINT, int, HWND) { OnCancel(); }

void CHarnessDialog::OnCallTraceCommand(UINT, int, HWND)
{
    CCommandFrame frame(*this);
    CCallTrace *trace = EngineCalls::Trace();
    if (!m_pCallTrace && trace) {
        auto window = std::make_unique<CCallTraceDialog>(*trace, static_cast<PanelHost &>(*this));
        if (window->Create(m_hWnd))
            m_pCallTrace = std::move(window);
    }
    if (m_pCallTrace)
        m_pCallTrace->Open();
}
