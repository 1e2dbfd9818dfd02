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

bool CCommandFrame::NotLoaded(bool resetKeyState)
{
    HarnessMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
    m_resetKeyState = resetKeyState;
    return false;
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
