#include "CommandFrame.h"

#include "Decimal.h"
#include "ErrorReport.h"
#include "ParameterEditor.h"
#include "resource.h"

#include <string>
#include <vector>

CCommandFrame::~CCommandFrame()
{
    if (m_resetKeyState)
        m_host.ResetKeyState();
}

bool CCommandFrame::Loaded(std::initializer_list<const void *> slots, bool resetWhenMissing)
{
    for (const void *slot : slots) {
        if (!slot) {
            HarnessMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
            m_resetKeyState = resetWhenMissing;
            return false;
        }
    }
    return true;
}

bool CCommandFrame::EditParameters(const wchar_t *title, std::initializer_list<Parameter *> parameters)
{
    if (!m_host.ShiftDown())
        return true;
    std::vector<EditorRow> rows;
    for (const Parameter *parameter : parameters)
        rows.push_back({parameter->label, std::to_wstring(parameter->value)});
    CParameterEditor editor(m_host.Window(), title, rows);
    if (editor.DoModal() != IDOK)
        return false;
    std::size_t row = 0;
    for (Parameter *parameter : parameters)
        parameter->value = ParseDecimal(rows[row++].text.c_str());
    return true;
}

int CCommandFrame::Report(int result, int position)
{
    ReportEngineError(result, position);
    return result;
}

int CCommandFrame::Report(int result, StateBox box, UINT stringId)
{
    ReportEngineError(result, 0);
    if (result == KEL_OK)
        m_host.SetState(box, stringId);
    return result;
}
