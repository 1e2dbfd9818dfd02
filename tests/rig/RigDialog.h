// A small dialog that shows, through its own controls, what the framework did:
// handlers reached, messages seen before initialisation, keys pre-translated.
#pragma once

#include "Dialog.h"

class CRigDialog : public CDialog {
public:
    CRigDialog();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG *message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange *dx) override;

private:
    void OnCountClicked(UINT code, int id, HWND control);
    void OnBoxClicked(UINT code, int id, HWND control);
    void OnThrowClicked(UINT code, int id, HWND control);
    void OnWaitClicked(UINT code, int id, HWND control);
    void OnOpenClicked(UINT code, int id, HWND control);
    void OnFaultClicked(UINT code, int id, HWND control);
    void OnDialogCommand(UINT code, int id, HWND control);
    void OnInputFocus(UINT code, int id, HWND control);

    CEdit m_input;
    CStatic m_clicks;
    CStatic m_creation;
    CStatic m_keys;
    CComboBox m_choices;
    int m_clickCount = 0;
    int m_keyDownCount = 0;
    bool m_createdBeforeInit = false;
    bool m_initialised = false;

    DECLARE_MESSAGE_MAP()
};
