// The unit tests' application object and probe dialog, shared by the test files.
#pragma once

#include "Dialog.h"
#include "WinApp.h"

#include <vector>

class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
    int appCommands = 0;

private:
    void OnAppCommand(UINT, int, HWND) { ++appCommands; }
    DECLARE_MESSAGE_MAP()
};

extern CTestApp g_testApp;
// Makes the calling thread the application's own, as a program's entry point does.
void StartTestApp();

// A command the test application handles and the probe dialog does not.
const UINT kAppCommand = 50001;

class CProbeDialog : public CDialog {
public:
    CProbeDialog();

    std::vector<UINT> seenBeforeInit;
    bool initialised = false;
    bool shown = false;
    int rangeId = 0;
    int editFocus = 0;
    int endDuringInit = -1;
    bool throwDuringRun = false;
    CEdit edit;
    CComboBox combo;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange *dx) override;

    static const UINT kRangeFirst = 50010;
    static const UINT kRangeLast = 50019;
    static const UINT kThrowCommand = 50020;

private:
    void OnRange(UINT, int id, HWND) { rangeId = id; }
    void OnEditFocus(UINT, int, HWND) { ++editFocus; }
    void OnThrow(UINT, int, HWND);
    DECLARE_MESSAGE_MAP()
};
