#include "CallTraceDialog.h"

#include "Clipboard.h"
#include "ErrorReport.h"
#include "FaultTrace.h"
#include "FileBytes.h"
#include "FileDialog.h"
#include "FixedFont.h"
#include "Replay.h"
#include "Strings.h"
#include "EncodeUtf8.h"
#include "WaitCursor.h"
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
    {IDC_TRACE_TEXT, true, true, false},    {IDC_TRACE_RELAYS, false, false, false},
    {IDC_TRACE_REPLAY, false, false, true}, {IDC_TRACE_CLEAR, false, false, true},
    {IDC_TRACE_COPY, false, false, true},   {IDC_TRACE_SAVE, false, false, true},
    {IDC_TRACE_KEEP, false, false, false},  {IDC_TRACE_FAULT_FILE, true, false, false},
};

// The state boxes follow a replay as they follow the clicks that make the
// same calls; the main window made anew shows every page.
class StateFollower : public ReplayWatcher {
public:
    explicit StateFollower(PanelHost &host) : m_host(host) {}

    void Replayed(const TraceLine &line, int result) override
    {
        const struct {
            const char *name;
            StateBox box;
            UINT text;
        } kStates[] = {
            {"LoadLibrary", StateBox::Library, IDS_LOADED},  {"Kel_InitMain", StateBox::Main, IDS_ALLOCATED},
            {"Kel_CreateMain", StateBox::Main, IDS_CREATED}, {"Kel_InitStatus", StateBox::Status, IDS_ALLOCATED},
            {"Kel_CreateStatus", StateBox::Status, IDS_CREATED},
        };
        if (line.name == "FreeLibrary")
            m_host.SetState(StateBox::Library, IDS_NULL); // whatever the result, as Free's click
        if (line.name == "Kel_CreateMain")
            m_host.PressAllPageToggles();
        if (result != KEL_OK)
            return;
        for (const auto &state : kStates) {
            if (line.name == state.name)
                m_host.SetState(state.box, state.text);
        }
        if (line.name == "Kel_Exit") {
            m_host.SetState(StateBox::Main, IDS_NULL);
            m_host.SetState(StateBox::Status, IDS_NULL);
        }
    }

private:
    PanelHost &m_host;
};

// A window that takes no input while it lives.
class Disabled {
public:
    explicit Disabled(HWND window) : m_window(window) { ::EnableWindow(m_window, FALSE); }
    ~Disabled() { ::EnableWindow(m_window, TRUE); }
    Disabled(const Disabled &) = delete;
    Disabled &operator=(const Disabled &) = delete;

private:
    HWND m_window;
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
    ON_COMMAND(IDC_TRACE_REPLAY, OnReplayClicked)
    ON_COMMAND(IDC_TRACE_KEEP, OnKeepClicked)
END_MESSAGE_MAP()

CCallTraceDialog::CCallTraceDialog(CCallTrace &trace, PanelHost &host)
    : CDialog(IDD_CALL_TRACE), m_trace(trace), m_host(host)
{
}

CCallTraceDialog::~CCallTraceDialog()
{
    DestroyWindow(); // before the font it shows goes
    m_pFixedFont.reset();
}

void CCallTraceDialog::DoDataExchange(CDataExchange *dx)
{
    DDX_Control(dx, IDC_TRACE_TEXT, m_text);
    DDX_Control(dx, IDC_TRACE_RELAYS, m_relays);
    DDX_Control(dx, IDC_TRACE_KEEP, m_keep);
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
    ::SetDlgItemTextW(m_hWnd, IDC_TRACE_FAULT_FILE, FaultTracePath().c_str());
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
    // What the window shows, line ends and all, after the line that says
    // which window was the harness's, for a replay.
    SaveFileBytes(dialog.GetPathName(), EncodeUtf8(SavedTraceText(m_host.Window(), m_text.GetWindowText())));
}

void CCallTraceDialog::OnReplayClicked(UINT, int, HWND)
{
    CFileDialog dialog(true, LoadResString(IDS_TRACE_EXTENSION), L"", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       LoadResString(IDS_TRACE_FILTER), m_hWnd);
    if (dialog.DoModal() != IDOK)
        return;
    const std::wstring path = dialog.GetPathName();
    TraceScript script;
    DWORD error = 0;
    if (!ReadTraceFile(path, script, error)) {
        HarnessMessageBox(FormatString(LoadResString(IDS_CANNOT_READ_TRACE), {path, SystemErrorText(error)}),
                          MB_ICONERROR);
        return;
    }
    if (!HasCallsToReplay(script)) {
        HarnessMessageBox(FormatString(LoadResString(IDS_NOTHING_TO_REPLAY), {path}), MB_ICONERROR);
        return;
    }
    {
        // The messages processed between the calls must not start other calls.
        CWaitCursor wait;
        Disabled main(m_host.Window()), button(GetDlgItem(IDC_TRACE_REPLAY));
        StateFollower follower(m_host);
        Replay(script, path, m_host.Window(), follower);
    }
    ShowTrace();
}

void CCallTraceDialog::OnKeepClicked(UINT, int, HWND)
{
    KeepTraceOnFault(m_keep.GetCheck() == BST_CHECKED, m_host.Window());
}
