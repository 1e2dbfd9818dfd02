#include "CallTraceDialog.h"

#include "Clipboard.h"
#include "ErrorReport.h"
#include "FileBytes.h"
#include "FileDialog.h"
#include "FixedFont.h"
#include "Strings.h"
#include "EncodeUtf8.h"
#include "WinApp.h"
#include "resource.h"

#include <algorithm>
#include <iterator>
#include <new>

namespace {
// Often enough to follow the clicks, seldom enough to cost nothing.
const UINT_PTR kRefreshTimer = 1;
const UINT kRefreshMilliseconds = 250;

// How each control follows the window's size: the box grows both ways, the
// rest keeps its distance from the bottom, the buttons from the right too.
struct Anchor {
    int id;
    bool growsWide;
    bool growsTall;
    bool followsRight;
};
const Anchor kAnchors[] = {
    {IDC_TRACE_TEXT, true, true, false},   {IDC_TRACE_RELAYS, false, false, false},
    {IDC_TRACE_CLEAR, false, false, true}, {IDC_TRACE_COPY, false, false, true},
    {IDC_TRACE_SAVE, false, false, true},
};

SIZE ClientSize(HWND window)
{
    RECT client = {};
    ::GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}
} // namespace

BEGIN_MESSAGE_MAP(CCallTraceDialog, CDialog)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_COMMAND(IDC_TRACE_RELAYS, OnRelaysClicked)
    ON_COMMAND(IDC_TRACE_CLEAR, OnClearClicked)
    ON_COMMAND(IDC_TRACE_COPY, OnCopyClicked)
    ON_COMMAND(IDC_TRACE_SAVE, OnSaveClicked)
END_MESSAGE_MAP()

CCallTraceDialog::CCallTraceDialog(CCallTrace &trace) : CDialog(IDD_CALL_TRACE), m_trace(trace) {}

CCallTraceDialog::~CCallTraceDialog()
{
    DestroyWindow(); // before the font it shows goes
    m_pFixedFont.reset();
}

void CCallTraceDialog::DoDataExchange(CDataExchange *dx)
{
    DDX_Control(dx, IDC_TRACE_TEXT, m_text);
    DDX_Control(dx, IDC_TRACE_RELAYS, m_relays);
}

BOOL CCallTraceDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The program's icon, shared: the system keeps it for the program's lifetime.
    const int side = ::GetSystemMetrics(SM_CXSMICON);
    SendMessage(WM_SETICON, ICON_SMALL,
                reinterpret_cast<LPARAM>(::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                      IMAGE_ICON, side, side, LR_SHARED)));
    m_pFixedFont = CreateFixedFont(kFixedFontFace, kFixedFontHeight);
    if (m_pFixedFont)
        m_text.SetFont(m_pFixedFont->GetSafeHandle(), TRUE);
    m_text.SendMessage(EM_SETLIMITTEXT, 0); // ten thousand lines are more than the default holds
    m_relays.SetCheck(m_trace.IncludesRelays() ? BST_CHECKED : BST_UNCHECKED);
    m_designClient = ClientSize(m_hWnd);
    for (const Anchor &anchor : kAnchors) {
        RECT place = {};
        ::GetWindowRect(GetDlgItem(anchor.id), &place);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&place), 2);
        m_designed.push_back(place);
    }
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    m_smallest = {window.right - window.left, window.bottom - window.top};
    PlaceBesideOwner();
    ::SetTimer(m_hWnd, kRefreshTimer, kRefreshMilliseconds, nullptr);
    return TRUE;
}

void CCallTraceDialog::PlaceBesideOwner()
{
    // Over the lower right of the main dialog, where the engine's status
    // window usually is, not over the buttons the tester clicks; whole on
    // the owner's monitor.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    RECT ownerRect = {}, own = {};
    if (!owner || !::GetWindowRect(owner, &ownerRect) || !::GetWindowRect(m_hWnd, &own))
        return;
    const int width = own.right - own.left, height = own.bottom - own.top;
    int x = ownerRect.right - width - 24, y = ownerRect.bottom - height - 48;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT &work = monitor.rcWork;
        x = std::max<int>(work.left, std::min<int>(x, work.right - width));
        y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCallTraceDialog::Open()
{
    ShowTrace();
    ShowWindow(::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
}

void CCallTraceDialog::ShowTrace()
{
    if (m_trace.Version() == m_shownVersion)
        return;
    std::wstring text;
    try {
        text = m_trace.Text();
    } catch (const std::bad_alloc &) {
        return; // the window keeps what it showed; the next change tries again
    }
    m_text.SetWindowText(text);
    // The latest calls in view.
    m_text.SetSel(static_cast<int>(text.size()), static_cast<int>(text.size()));
    m_shownVersion = m_trace.Version();
}

void CCallTraceDialog::OnTimer(UINT_PTR id)
{
    if (id == kRefreshTimer && ::IsWindowVisible(m_hWnd))
        ShowTrace();
}

void CCallTraceDialog::OnSize(UINT type, int width, int height)
{
    if (type == SIZE_MINIMIZED || m_designed.size() != std::size(kAnchors))
        return; // also while the window is being made
    // Each control where the template put it, moved or grown by how much the
    // window grew since then.
    const int grownWide = width - m_designClient.cx;
    const int grownTall = height - m_designClient.cy;
    for (std::size_t i = 0; i < m_designed.size(); ++i) {
        const Anchor &anchor = kAnchors[i];
        RECT place = m_designed[i];
        if (anchor.followsRight)
            ::OffsetRect(&place, grownWide, 0);
        if (anchor.growsWide)
            place.right += grownWide;
        if (anchor.growsTall)
            place.bottom += grownTall;
        else
            ::OffsetRect(&place, 0, grownTall);
        ::SetWindowPos(GetDlgItem(anchor.id), nullptr, place.left, place.top, place.right - place.left,
                       place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CCallTraceDialog::OnGetMinMaxInfo(MINMAXINFO *info)
{
    info->ptMinTrackSize.x = m_smallest.cx;
    info->ptMinTrackSize.y = m_smallest.cy;
}

void CCallTraceDialog::OnRelaysClicked(UINT, int, HWND) { m_trace.IncludeRelays(m_relays.GetCheck() == BST_CHECKED); }

void CCallTraceDialog::OnClearClicked(UINT, int, HWND)
{
    m_trace.Clear();
    ShowTrace();
}

void CCallTraceDialog::OnCopyClicked(UINT, int, HWND)
{
    ShowTrace();
    DWORD error = 0;
    if (!CopyTextToClipboard(m_hWnd, m_text.GetWindowText(), error))
        HarnessMessageBox(FormatString(LoadResString(IDS_CANNOT_COPY), {SystemErrorText(error)}), MB_ICONERROR);
}

void CCallTraceDialog::OnSaveClicked(UINT, int, HWND)
{
    ShowTrace();
    CFileDialog dialog(false, LoadResString(IDS_TRACE_EXTENSION), LoadResString(IDS_TRACE_FILE_NAME),
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LoadResString(IDS_TRACE_FILTER), m_hWnd);
    if (dialog.DoModal() != IDOK)
        return;
    // What the window shows, line ends and all.
    SaveFileBytes(dialog.GetPathName(), EncodeUtf8(m_text.GetWindowText()));
}
