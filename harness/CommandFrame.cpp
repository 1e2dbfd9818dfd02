#include "CommandFrame.h"

#include "Decimal.h"
#include "ErrorReport.h"
#include "HarnessApp.h"
#include "ParameterEditor.h"
#include "Strings.h"
#include "resource.h"

#include <cstring>
#include <string>
#include <vector>

CCommandFrame::~CCommandFrame()
{
    if (m_resetKeyState)
        m_host.ResetKeyState();
}

CCallTrace *CCommandFrame::Trace()
{
    auto *app = dynamic_cast<CHarnessApp *>(AfxGetApp());
    return app ? &app->CallTrace() : nullptr;
}

// Shown with the name the loader asks the system for, and the module it frees;
// a failed load with the system's reason.
int CCommandFrame::Load()
{
    return Traced(
        "LoadLibrary", [](int code) { return trace_format::LoadResult(code, EngineLoadError()); },
        [](const wchar_t *) { return LoadEngine(); }, KEL_ENGINE_FILE_NAME);
}

int CCommandFrame::Free()
{
    return Traced("FreeLibrary", &trace_format::EngineResult, [](HMODULE) { return FreeEngine(); }, g_engine.hModule);
}

int __cdecl CCommandFrame::MessageHook(int first, int second, int *result) noexcept
{
    return Traced("MessageHook", &trace_format::Number, &::MessageHook, first, second, result);
}

void __cdecl CCommandFrame::SetTitleHook(const wchar_t *first, const wchar_t *second, int flag) noexcept
{
    Traced("SetTitleHook", &trace_format::Number, &::SetTitleHook, first, second, flag);
}

void CCommandFrame::Refused(const char *name)
{
    Refused(Formatted([&] { return std::wstring(name, name + std::strlen(name)); }),
            Formatted([] { return LoadResString(IDS_FUNCTION_NOT_LOADED); }));
}

void CCommandFrame::Refused(const std::wstring &call, const std::wstring &reason)
{
    if (CCallTrace *trace = Trace())
        trace->Refused(call, reason);
}

bool CCommandFrame::NotLoaded(bool resetKeyState)
{
    HarnessMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
    m_resetKeyState = resetKeyState;
    return false;
}

CCommandFrame::Line::~Line()
{
    if (!m_closed)
        m_trace.Close(m_ticket, L"", L" did not return");
}

void CCommandFrame::Line::Close(const std::wstring &call, const std::wstring &result) noexcept
{
    std::wstring ending = Formatted([&] { return result + trace_format::Duration(m_trace.Now() - m_start); });
    m_trace.Close(m_ticket, call, ending);
    m_closed = true;
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
