// The host's one dialog: a frame for the engine's main and status windows,
// which shares every message with the engine and closes only when the
// engine agrees.
#pragma once

#include "Dialog.h"
#include "UniqueHandle.h"

class CHostDialog : public CDialog {
public:
    explicit CHostDialog(HWND parent = nullptr);
    ~CHostDialog() override;

    BOOL PreTranslateMessage(MSG *message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // What loading the engine gave, in the constructor: 0, 26 or 27.
    int LoadResult() const { return m_nLoadResult; }

private:
    int StartEngine();
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    void OnExitCommand(UINT code, int id, HWND control);
    void OnCloseDocumentCommand(UINT code, int id, HWND control);

    unique_hicon m_hIcon;
    unique_hbrush m_hBackgroundBrush;
    int m_nLoadResult;

    DECLARE_MESSAGE_MAP()
};
