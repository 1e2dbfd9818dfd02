// The harness's main dialog: the Enabled Pages toggles, the state boxes and
// the frame in which the engine's windows appear. It owns the settings panel
// and the engine call panel and hands them the commands it does not handle
// itself. Every message of its window goes to the engine first.
#pragma once

#include "CallTraceDialog.h"
#include "Dialog.h"
#include "EnginePanel.h"
#include "PanelHost.h"
#include "SettingsPanel.h"
#include "UniqueHandle.h"

#include <memory>

class CHarnessDialog : public CDialog, private PanelHost {
public:
    explicit CHarnessDialog(HWND parent = nullptr);
    ~CHarnessDialog() override;

    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;
    // Both track Shift; every message of the window goes to the engine first.
    BOOL PreTranslateMessage(MSG *message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

private:
    HWND Window() const override { return m_hWnd; }
    bool ShiftDown() const override { return m_bShiftDown == 1; }
    void ResetKeyState() override { m_bShiftDown = 0; }
    void SetState(StateBox box, UINT stringId) override;
    RECT FrameRectangle() const override;
    void PressAllPageToggles() override;

    void TrackShift(UINT message, WPARAM wParam);

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnPageToggled(UINT code, int id, HWND control);
    void OnExitCommand(UINT code, int id, HWND control);
    void OnCloseDocumentCommand(UINT code, int id, HWND control);
    void OnExitClicked(UINT code, int id, HWND control);
    void OnCallTraceCommand(UINT code, int id, HWND control);

    CButton m_engineFrame;
    CEdit m_statusState;
    CEdit m_mainState;
    CEdit m_libraryState;
    unique_hicon m_hIcon;
    BYTE m_bShiftDown = 0;
    CSettingsPanel m_settings{*this};
    CEnginePanel m_calls{*this};
    std::unique_ptr<CCallTraceDialog> m_pCallTrace; // from the first View > Call Trace on

    DECLARE_MESSAGE_MAP()
};
