#include "ParameterEditor.h"

#include "Strings.h"
#include "resource.h"

namespace {
const int kEditIds[] = {IDC_PARAMETER_1, IDC_PARAMETER_2, IDC_PARAMETER_3, IDC_PARAMETER_4};
const int kLabelIds[] = {IDC_PARAMETER_LABEL_1, IDC_PARAMETER_LABEL_2, IDC_PARAMETER_LABEL_3, IDC_PARAMETER_LABEL_4};
} // namespace

CParameterEditor::CParameterEditor(HWND parent, std::wstring title, std::wstring *value1, UINT label1,
                                   std::wstring *value2, UINT label2, std::wstring *value3, UINT label3,
                                   std::wstring *value4, UINT label4)
    : CDialog(IDD_PARAMETER_EDITOR, parent), m_title(std::move(title)), m_values{value1, value2, value3, value4}
{
    const UINT labels[kRows] = {label1, label2, label3, label4};
    while (m_rowCount < kRows && m_values[m_rowCount]) {
        if (labels[m_rowCount] != 0)
            m_labels[m_rowCount] = LoadResString(labels[m_rowCount]);
        ++m_rowCount;
    }
    for (int row = m_rowCount; row < kRows; ++row)
        m_values[row] = nullptr;
}

void CParameterEditor::DoDataExchange(CDataExchange *dx)
{
    for (int row = 0; row < kRows; ++row)
        DDX_Control(dx, kEditIds[row], m_edits[row]);
    DDX_Control(dx, IDC_PARAMETER_TITLE, m_titleBox);
    for (int row = 0; row < kRows; ++row)
        DDX_Control(dx, kLabelIds[row], m_labelControls[row]);
}

BOOL CParameterEditor::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_titleBox.SetWindowText(m_title);
    for (int row = 0; row < kRows; ++row) {
        if (row < m_rowCount) {
            m_edits[row].SetWindowText(*m_values[row]);
            m_labelControls[row].SetWindowText(m_labels[row]);
        } else {
            // The dialog keeps its size: unused rows leave empty space.
            m_edits[row].ShowWindow(SW_HIDE);
            m_labelControls[row].ShowWindow(SW_HIDE);
        }
    }
    return TRUE;
}

void CParameterEditor::OnOK()
{
    for (int row = 0; row < m_rowCount; ++row)
        *m_values[row] = m_edits[row].GetWindowText();
    CDialog::OnOK();
}
