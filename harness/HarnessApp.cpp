#include "HarnessApp.h"

#include "EngineCalls.h"
#include "Dialog.h"
#include "EngineLoader.h"
#include "FaultReport.h"
#include "HarnessDialog.h"
#include "RunningMark.h"
#include "Strings.h"
#include "resource.h"

CHarnessApp::CHarnessApp() : CWinApp(IDS_EXCEPTION_THROWN) {}

BEGIN_MESSAGE_MAP(CHarnessApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL CHarnessApp::InitInstance()
{
    RunningMark running;
    EngineCalls::Scope tracing(m_callTrace);
    // A freed engine's windows can fault where no handler of ours runs.
    InstallFaultReport(LoadResString(IDS_EXCEPTION_THROWN), AfxGetAppName());
    CHarnessDialog dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal(); // an exception from the run is reported by the framework, with the same text
    m_pMainWnd = nullptr;
    return FALSE; // the dialog's destructor frees the engine
}

void CHarnessApp::OnHelp(UINT, int, HWND) { OpenEngineHelp(TracedCall()); }
