// The engine call panel: one handler per button, all in the same frame (wait
// cursor, slot test, parameter editor while Shift is held, call, report,
// state box, key state reset).
#include "HarnessDialog.h"

#include "Decimal.h"
#include "EngineLoader.h"
#include "ErrorReport.h"
#include "ParameterEditor.h"
#include "Strings.h"
#include "WaitCursor.h"
#include "resource.h"

#include <array>
#include <string>

bool CHarnessDialog::Loaded(std::initializer_list<const void *> slots)
{
    for (const void *slot : slots) {
        if (!slot) {
            HarnessMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
            return false;
        }
    }
    return true;
}

bool CHarnessDialog::EditParameters(const wchar_t *title, std::initializer_list<Parameter *> parameters)
{
    if (m_bShiftDown != 1)
        return true;
    std::array<std::wstring, 4> texts;
    std::array<Parameter *, 4> rows = {};
    std::size_t count = 0;
    for (Parameter *parameter : parameters) {
        if (count == rows.size())
            break;
        rows[count] = parameter;
        texts[count] = std::to_wstring(parameter->value);
        ++count;
    }
    auto value = [&](std::size_t row) { return row < count ? &texts[row] : nullptr; };
    auto label = [&](std::size_t row) { return row < count ? rows[row]->label : 0u; };
    CParameterEditor editor(m_hWnd, title, value(0), label(0), value(1), label(1), value(2), label(2), value(3),
                            label(3));
    if (editor.DoModal() != IDOK) {
        ResetKeyState();
        return false;
    }
    for (std::size_t row = 0; row < count; ++row)
        rows[row]->value = ParseDecimal(texts[row].c_str());
    return true;
}

void CHarnessDialog::OnLoadClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    int result = LoadEngine();
    if (result == KEL_OK)
        m_libraryState.SetWindowText(LoadResString(IDS_LOADED));
    else
        ReportEngineError(result, 0);
    ResetKeyState();
}

void CHarnessDialog::OnKelExitClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({reinterpret_cast<const void *>(g_engine.Kel_Exit)}))
        return;
    Parameter force = {IDS_LABEL_FORCE, 0};
    if (!EditParameters(L"Kel_Exit", {&force}))
        return;
    int result = g_engine.Kel_Exit(force.value);
    if (result == KEL_OK) {
        const std::wstring null = LoadResString(IDS_NULL);
        m_mainState.SetWindowText(null);
        m_statusState.SetWindowText(null);
    }
    ReportEngineError(result, 0);
    ResetKeyState();
}

void CHarnessDialog::OnExitClicked(UINT, int, HWND) { OnCancel(); }
