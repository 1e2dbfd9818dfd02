#include "HostApp.h"

#include "Dialog.h"
#include "EngineLoader.h"
#include "HostDialog.h"
#include "RunningMark.h"
#include "resource.h"

// An exception that escapes the run ends the program with the host's own last words.
CHostApp::CHostApp() : CWinApp(IDS_CANNOT_CONTINUE) {}

BEGIN_MESSAGE_MAP(CHostApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL CHostApp::InitInstance()
{
    RunningMark running;
    CHostDialog dialog; // loads the engine
    m_pMainWnd = &dialog;
    if (dialog.LoadResult() == KEL_OK)
        dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE; // the dialog's destructor frees the engine
}

void CHostApp::OnHelp(UINT, int, HWND) { OpenEngineHelp(); }
