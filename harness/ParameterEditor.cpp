#include "ParameterEditor.h"

#include "Strings.h"
#include "resource.h"

#include <algorithm>

namespace {
const int kEditIds[] = {IDC_PARAMETER_1, IDC_PARAMETER_2, IDC_PARAMETER_3, IDC_PARAMETER_4};
const int kLabelIds[] = {IDC_PARAMETER_LABEL_1, IDC_PARAMETER_LABEL_2, IDC_PARAMETER_LABEL_3, IDC_PARAMETER_LABEL_4};
} // namespace

CParameterEditor::CParameterEditor(HWND parent, std::wstring title, std::vector<EditorRow> &rows)
    : CDialog(IDD_PARAMETER_EDITOR, parent), m_title(std::move(title)), m_rows(rows),
      m_rowCount(static_cast<int>(std::min<std::size_t>(rows.size(), kRows)))
{
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
            const EditorRow &shown = m_rows[static_cast<std::size_t>(row)];
            m_edits[row].SetWindowText(shown.text);
            m_labelControls[row].SetWindowText(shown.label != 0 ? LoadResString(shown.label) : std::wstring());
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
        m_rows[static_cast<std::size_t>(row)].text = m_edits[row].GetWindowText();
    CDialog::OnOK();
}
