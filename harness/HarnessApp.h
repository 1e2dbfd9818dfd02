#pragma once

#include "WinApp.h"

class CHarnessApp : public CWinApp {
public:
    CHarnessApp();
    BOOL InitInstance() override;

private:
    void OnHelp(UINT code, int id, HWND control);
    DECLARE_MESSAGE_MAP()
};
