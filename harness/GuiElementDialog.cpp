#include "GuiElementDialog.h"

#include "EngineCalls.h"
#include "Decimal.h"
#include "EngineLoader.h"
#include "ErrorReport.h"
#include "MessageBox.h"
#include "HarnessPageTable.h"
#include "resource.h"

#include <string>

BEGIN_MESSAGE_MAP(CGuiElementDialog, CDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_GUI_PAGE, OnPageChanged)
    ON_CONTROL(CBN_SELCHANGE, IDC_GUI_LABEL, OnLabelChanged)
    ON_COMMAND(IDC_GUI_SHOW, OnShowClicked)
    ON_COMMAND(IDC_GUI_HIDE, OnHideClicked)
END_MESSAGE_MAP()

CGuiElementDialog::CGuiElementDialog() : CDialog(IDD_GUI_ELEMENTS)
{
    for (int page = 0; page < 7; ++page)
        m_lists[page] = kGuiElementLists[page];
}

void CGuiElementDialog::DoDataExchange(CDataExchange *dx)
{
    DDX_Control(dx, IDC_GUI_ID, m_idBox);
    DDX_Control(dx, IDC_GUI_PAGE, m_pageList);
    DDX_Control(dx, IDC_GUI_LABEL, m_labelList);
}

BOOL CGuiElementDialog::OnInitDialog()
{
    CDialog::OnInitDialog(); // the page list comes from the dialog's initialisation data
    m_pageList.SetCurSel(0);
    FillLabelList();
    ShowSelectedId();
    return TRUE;
}

void CGuiElementDialog::FillLabelList()
{
    int page = m_pageList.GetCurSel();
    m_labelList.ResetContent();
    if (page >= 0 && page < 7) {
        for (const GuiElementEntry *row = m_lists[page]; row->label && row->label[0]; ++row) {
            std::wstring label;
            for (const char *c = row->label; *c; ++c)
                label += static_cast<wchar_t>(static_cast<unsigned char>(*c));
            m_labelList.AddString(label);
        }
    }
    m_labelList.SetCurSel(0);
}

void CGuiElementDialog::ShowSelectedId()
{
    int page = m_pageList.GetCurSel();
    int row = m_labelList.GetCurSel();
    if (page < 0 || page >= 7 || row < 0)
        return;
    m_idBox.SetWindowText(std::to_wstring(m_lists[page][row].controlId));
}

void CGuiElementDialog::ShowOrHide(int show)
{
    if (!EngineCalls::Bound(&Entry::Kel_ShowGuiElement)) {
        AfxMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
        return;
    }
    int page = m_pageList.GetCurSel();
    int code = page >= 0 && page < 7 ? kHarnessPages[page].code : 0;
    int id = ParseDecimal(m_idBox.GetWindowText().c_str()); // the box, as typed
    ReportEngineError(EngineCalls::Call(&Entry::Kel_ShowGuiElement, code, id, show), 0);
}

void CGuiElementDialog::OnPageChanged(UINT, int, HWND)
{
    FillLabelList();
    ShowSelectedId();
}

void CGuiElementDialog::OnLabelChanged(UINT, int, HWND) { ShowSelectedId(); }

void CGuiElementDialog::OnShowClicked(UINT, int, HWND) { ShowOrHide(1); }

void CGuiElementDialog::OnHideClicked(UINT, int, HWND) { ShowOrHide(0); }
