// Shows or hides single controls on the engine's pages: pick a page, pick a
// control by its label (or type its id), press Show or Hide. Modeless, so the
// tester can watch the engine's window meanwhile; Done only hides it.
#pragma once

#include "Dialog.h"
#include "GuiElements.h"

class CGuiElementDialog : public CDialog {
public:
    CGuiElementDialog();

    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;

private:
    void FillLabelList();
    void ShowSelectedId();
    void ShowOrHide(int show);

    void OnPageChanged(UINT code, int id, HWND control);
    void OnLabelChanged(UINT code, int id, HWND control);
    void OnShowClicked(UINT code, int id, HWND control);
    void OnHideClicked(UINT code, int id, HWND control);

    CEdit m_idBox;
    CComboBox m_pageList;
    CComboBox m_labelList;
    const GuiElementEntry *m_lists[7];

    DECLARE_MESSAGE_MAP()
};
