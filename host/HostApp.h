#pragma once

#include "WinApp.h"

class CHostApp : public CWinApp {
public:
    CHostApp();
    BOOL InitInstance() override;

private:
    void OnHelp(UINT code, int id, HWND control);
    DECLARE_MESSAGE_MAP()
};
