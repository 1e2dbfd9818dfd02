#include "TestApp.h"

#include "resource.h"

#include <stdexcept>

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(kAppCommand, OnAppCommand)
END_MESSAGE_MAP()

CTestApp g_testApp;

void StartTestApp() { g_testApp.Start(::GetModuleHandleW(nullptr), L"unit_tests.exe"); }

BEGIN_MESSAGE_MAP(CProbeDialog, CDialog)
    ON_COMMAND_RANGE(kRangeFirst, kRangeLast, OnRange)
    ON_CONTROL(EN_SETFOCUS, IDC_PROBE_EDIT, OnEditFocus)
    ON_COMMAND(kThrowCommand, OnThrow)
END_MESSAGE_MAP()

CProbeDialog::CProbeDialog() : CDialog(IDD_PROBE) {}

BOOL CProbeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    initialised = true;
    if (endDuringInit >= 0)
        EndDialog(endDuringInit);
    if (throwDuringRun)
        ::PostMessageW(m_hWnd, WM_COMMAND, kThrowCommand, 0);
    return TRUE;
}

LRESULT CProbeDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!initialised && message != WM_INITDIALOG)
        seenBeforeInit.push_back(message);
    if (message == WM_SHOWWINDOW && wParam)
        shown = true;
    return CDialog::WindowProc(message, wParam, lParam);
}

void CProbeDialog::DoDataExchange(CDataExchange *dx)
{
    DDX_Control(dx, IDC_PROBE_EDIT, edit);
    DDX_Control(dx, IDC_PROBE_COMBO, combo);
}

void CProbeDialog::OnThrow(UINT, int, HWND) { throw std::runtime_error("from a handler"); }
