#pragma once

#include "CallTrace.h"
#include "WinApp.h"

class CHarnessApp : public CWinApp {
public:
    CHarnessApp();
    BOOL InitInstance() override;

    // Begins with the program, so its times count from the start.
    CCallTrace &CallTrace() { return m_callTrace; }

private:
    void OnHelp(UINT code, int id, HWND control);

    CCallTrace m_callTrace;
    DECLARE_MESSAGE_MAP()
};
