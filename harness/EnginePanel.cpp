// The engine call panel: one handler per button, all in the same frame (wait
// cursor, slot test, parameter editor while Shift is held, call, report,
// state box, key state reset). The harness's boxes have no owner, so another
// button may run while one stands: a handler tests its slot again right
// before a call that follows one of them.
#include "HarnessDialog.h"

#include "Decimal.h"
#include "EngineLoader.h"
#include "ErrorReport.h"
#include "ParameterEditor.h"
#include "Strings.h"
#include "TextViewer.h"
#include "WaitCursor.h"
#include "resource.h"

#include <array>
#include <cstdint>
#include <cwchar>
#include <string>
#include <type_traits>
#include <vector>

namespace {
const wchar_t kCallerTag[] = L"KelmTest - 04_19_01";
// Far beyond any version or catalog text; a larger size is an engine fault.
const int kLargestText = 1 << 24;

template <class Slot>
const void *SlotOf(Slot slot)
{
    return reinterpret_cast<const void *>(slot);
}

// Handles and hook addresses travel as 32-bit numbers, as the engine takes them.
int NumberOf(const void *value) { return static_cast<int>(reinterpret_cast<std::intptr_t>(value)); }
HWND WindowOf(int value) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(value)); }

// The hook for a number from the editor: the harness's own (by its number) or
// none. Any other number would be called by the engine later: refused.
template <class Own, class Hook>
bool HookOf(int value, Own own, Hook &hook)
{
    if (value == 0) {
        hook = nullptr;
        return true;
    }
    if (value == NumberOf(reinterpret_cast<const void *>(own))) {
        hook = own;
        return true;
    }
    return false;
}

// The resource's "%d" and then its "%s" filled in.
std::wstring Format(UINT patternId, int number, const std::wstring &text = L"")
{
    std::wstring result = LoadResString(patternId);
    std::size_t at = result.find(L"%d");
    if (at != std::wstring::npos)
        result.replace(at, 2, std::to_wstring(number));
    at = result.find(L"%s", at == std::wstring::npos ? 0 : at);
    if (at != std::wstring::npos)
        result.replace(at, 2, text);
    return result;
}

int ClientHeight(HWND window)
{
    RECT client = {};
    if (window)
        ::GetClientRect(window, &client);
    return client.bottom - client.top;
}
} // namespace

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

RECT CHarnessDialog::FrameRectangle() const
{
    RECT frame = m_engineFrame.GetClientRect();
    ::MapWindowPoints(m_engineFrame.m_hWnd, m_hWnd, reinterpret_cast<POINT *>(&frame), 2);
    return frame;
}

void CHarnessDialog::SetState(CEdit &box, UINT stringId) const { box.SetWindowText(LoadResString(stringId)); }

void CHarnessDialog::OnLoadClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    int result = LoadEngine();
    if (result == KEL_OK)
        SetState(m_libraryState, IDS_LOADED);
    else
        ReportEngineError(result, 0);
    ResetKeyState();
}

void CHarnessDialog::OnFreeClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_GetWindowMain), SlotOf(g_engine.Kel_GetWindowStatus)})) {
        ResetKeyState();
        return;
    }
    HWND mainWindow = nullptr;
    if (g_engine.Kel_GetWindowMain(&mainWindow) == KEL_OK && mainWindow) {
        switch (HarnessMessageBox(IDS_FREE_WITHOUT_EXIT, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDYES: OnKelExitClicked(0, IDC_KEL_EXIT, nullptr); break;
        case IDNO: break;
        default: ResetKeyState(); return;
        }
    }
    FreeEngine(); // its result is not shown: the box reads NULL either way
    SetState(m_libraryState, IDS_NULL);
    ResetKeyState();
}

void CHarnessDialog::OnInitMainClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_InitMain)}))
        return;
    Parameter messageHook = {IDS_LABEL_MESSAGE_HOOK, NumberOf(SlotOf(&MessageHook))};
    Parameter titleHook = {IDS_LABEL_TITLE_HOOK, NumberOf(SlotOf(&SetTitleHook))};
    if (!EditParameters(L"Kel_InitMain", {&messageHook, &titleHook}))
        return;
    KelMessageHook messageHookArgument = nullptr;
    KelTitleHook titleHookArgument = nullptr;
    if (!HookOf(messageHook.value, &MessageHook, messageHookArgument)) {
        HarnessMessageBox(Format(IDS_FOREIGN_HOOK, messageHook.value), MB_ICONERROR);
    } else if (!HookOf(titleHook.value, &SetTitleHook, titleHookArgument)) {
        HarnessMessageBox(Format(IDS_FOREIGN_HOOK, titleHook.value), MB_ICONERROR);
    } else {
        int result = g_engine.Kel_InitMain(messageHookArgument, titleHookArgument);
        ReportEngineError(result, 0);
        if (result == KEL_OK)
            SetState(m_mainState, IDS_ALLOCATED);
    }
    ResetKeyState();
}

void CHarnessDialog::OnCreateMainClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_CreateMain)}))
        return;
    Parameter parent = {IDS_LABEL_PARENT, NumberOf(m_hWnd)};
    Parameter splash = {IDS_LABEL_SPLASH, 0};
    if (!EditParameters(L"Kel_CreateMain", {&parent, &splash}))
        return;
    std::wstring tag = kCallerTag; // the engine takes a writable text
    int result = g_engine.Kel_CreateMain(WindowOf(parent.value), splash.value, &tag[0]);
    // A new main window shows every page, whatever the toggles said before.
    PressAllPageToggles();
    ReportEngineError(result, 0);
    if (result == KEL_OK)
        SetState(m_mainState, IDS_CREATED);
    ResetKeyState();
}

void CHarnessDialog::OnShowMainClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_ShowMain)}))
        return;
    RECT frame = FrameRectangle();
    Parameter show = {IDS_LABEL_SHOW, SW_SHOW};
    Parameter x = {IDS_LABEL_OFFSET_X, frame.left + 2};
    Parameter y = {IDS_LABEL_OFFSET_Y, frame.top + 8};
    if (!EditParameters(L"Kel_ShowMain", {&show, &x, &y}))
        return;
    ReportEngineError(g_engine.Kel_ShowMain(show.value, x.value, y.value), 0);
    ResetKeyState();
}

void CHarnessDialog::OnHideMainClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_ShowMain)}))
        return;
    ReportEngineError(g_engine.Kel_ShowMain(SW_HIDE, 1, 0), 0);
    ResetKeyState();
}

void CHarnessDialog::OnGetWindowMainClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_GetWindowMain)}))
        return;
    HWND window = nullptr;
    int result = g_engine.Kel_GetWindowMain(&window);
    if (result == KEL_OK && window)
        HarnessMessageBox(IDS_SUCCESS, MB_OK);
    ReportEngineError(result, 0);
    ResetKeyState();
}

void CHarnessDialog::OnInitStatusClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_InitStatus)}))
        return;
    int result = g_engine.Kel_InitStatus();
    ReportEngineError(result, 0);
    if (result == KEL_OK)
        SetState(m_statusState, IDS_ALLOCATED);
    ResetKeyState();
}

void CHarnessDialog::OnCreateStatusClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_CreateStatus)}))
        return;
    Parameter parent = {IDS_LABEL_PARENT, NumberOf(m_hWnd)};
    if (!EditParameters(L"Kel_CreateStatus", {&parent}))
        return;
    int result = g_engine.Kel_CreateStatus(WindowOf(parent.value));
    ReportEngineError(result, 0);
    if (result == KEL_OK)
        SetState(m_statusState, IDS_CREATED);
    ResetKeyState();
}

void CHarnessDialog::OnShowStatusClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_ShowStatus), SlotOf(g_engine.Kel_GetWindowMain)}))
        return;
    HWND mainWindow = nullptr;
    int result = g_engine.Kel_GetWindowMain(&mainWindow);
    ReportEngineError(result, 0);
    int height = 0;
    if (result != KEL_OK)
        HarnessMessageBox(IDS_NO_STATUS_POSITION, MB_OK);
    else
        height = ClientHeight(mainWindow);
    RECT frame = FrameRectangle();
    Parameter show = {IDS_LABEL_SHOW, SW_SHOW};
    Parameter x = {IDS_LABEL_OFFSET_X, frame.left + 2};
    Parameter y = {IDS_LABEL_OFFSET_Y, frame.top + height + 14};
    if (!EditParameters(L"Kel_ShowStatus", {&show, &x, &y}))
        return;
    if (Loaded({SlotOf(g_engine.Kel_ShowStatus)}))
        ReportEngineError(g_engine.Kel_ShowStatus(show.value, x.value, y.value), 0);
    ResetKeyState();
}

void CHarnessDialog::OnHideStatusClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_ShowStatus)}))
        return;
    ReportEngineError(g_engine.Kel_ShowStatus(SW_HIDE, 1, ClientHeight(m_hWnd) + 4), 0);
    ResetKeyState();
}

void CHarnessDialog::OnGetWindowStatusClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_GetWindowStatus)}))
        return;
    HWND window = nullptr;
    int result = g_engine.Kel_GetWindowStatus(&window);
    if (result == KEL_OK && window)
        HarnessMessageBox(IDS_SUCCESS, MB_OK);
    ReportEngineError(result, 0);
    ResetKeyState();
}

static_assert(std::is_same<Kel_GetSizeOfVersion_fn, Kel_GetSizeOfPaperCatalog_fn>::value &&
                  std::is_same<Kel_GetVersion_fn, Kel_GetPaperCatalog_fn>::value,
              "version and catalog are fetched alike");

bool CHarnessDialog::FetchEngineText(const TextSizeSlot &sizeOf, const TextSlot &textOf, int &size,
                                     std::wstring &text)
{
    size = 0;
    int result = sizeOf(&size);
    ReportEngineError(result, 0);
    if (result != KEL_OK || size == 0)
        return false;
    if (size < 0 || size > kLargestText) {
        HarnessMessageBox(Format(IDS_SIZE_OUT_OF_RANGE, size), MB_ICONERROR);
        ResetKeyState();
        return false;
    }
    // One zero unit more than reported: a text the engine leaves unterminated
    // still ends, and nothing past the buffer is read.
    std::vector<wchar_t> buffer(static_cast<std::size_t>(size) + 1, L'\0');
    // The error box above let other buttons run: a Free may have come meanwhile.
    if (!Loaded({SlotOf(textOf)})) {
        ResetKeyState();
        return false;
    }
    result = textOf(buffer.data());
    ReportEngineError(result, 0);
    if (result != KEL_OK) {
        ResetKeyState();
        return false;
    }
    text.assign(buffer.data(), wcsnlen(buffer.data(), static_cast<std::size_t>(size)));
    return true;
}

void CHarnessDialog::OnVersionClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_GetSizeOfVersion), SlotOf(g_engine.Kel_GetVersion)}))
        return;
    int size = 0;
    std::wstring text;
    if (!FetchEngineText(g_engine.Kel_GetSizeOfVersion, g_engine.Kel_GetVersion, size, text))
        return;
    HarnessMessageBox(Format(IDS_VERSION_FORMAT, size, text), MB_OK);
    ResetKeyState();
}

void CHarnessDialog::OnPaperCatalogClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_GetSizeOfPaperCatalog), SlotOf(g_engine.Kel_GetPaperCatalog)}))
        return;
    int size = 0;
    CTextViewer viewer;
    if (!FetchEngineText(g_engine.Kel_GetSizeOfPaperCatalog, g_engine.Kel_GetPaperCatalog, size, viewer.m_strText))
        return;
    viewer.DoModal();
    ResetKeyState();
}

void CHarnessDialog::OnPrintClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (Loaded({SlotOf(g_engine.Kel_Print)}))
        ReportEngineError(g_engine.Kel_Print(), 0);
    ResetKeyState();
}

void CHarnessDialog::OnKelExitClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({SlotOf(g_engine.Kel_Exit)}))
        return;
    Parameter force = {IDS_LABEL_FORCE, 0};
    if (!EditParameters(L"Kel_Exit", {&force}))
        return;
    int result = g_engine.Kel_Exit(force.value);
    if (result == KEL_OK) {
        SetState(m_mainState, IDS_NULL);
        SetState(m_statusState, IDS_NULL);
    }
    ReportEngineError(result, 0);
    ResetKeyState();
}

void CHarnessDialog::OnShowGuiClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!m_pGuiElementDialog) {
        auto dialog = std::make_unique<CGuiElementDialog>();
        if (dialog->Create(m_hWnd))
            m_pGuiElementDialog = std::move(dialog);
    }
    if (m_pGuiElementDialog)
        m_pGuiElementDialog->ShowWindow(SW_SHOW);
    ResetKeyState();
}

void CHarnessDialog::OnQuickStartClicked(UINT, int, HWND)
{
    OnLoadClicked(0, IDC_LOAD, nullptr); // also resets the key state: no editor opens below
    if (g_engine.Kel_InitMain)
        OnInitMainClicked(0, IDC_INIT_MAIN, nullptr);
    if (g_engine.Kel_InitMain)
        OnCreateMainClicked(0, IDC_CREATE_MAIN, nullptr);
    if (g_engine.Kel_InitMain)
        OnShowMainClicked(0, IDC_SHOW_MAIN, nullptr);
    if (g_engine.Kel_InitStatus)
        OnInitStatusClicked(0, IDC_INIT_STATUS, nullptr);
    if (g_engine.Kel_InitStatus)
        OnCreateStatusClicked(0, IDC_CREATE_STATUS, nullptr);
    if (g_engine.Kel_InitStatus)
        OnShowStatusClicked(0, IDC_SHOW_STATUS, nullptr);
    ResetKeyState();
}

void CHarnessDialog::OnQuickFreeClicked(UINT, int, HWND)
{
    ResetKeyState();
    OnKelExitClicked(0, IDC_KEL_EXIT, nullptr);
    OnFreeClicked(0, IDC_FREE, nullptr);
    ResetKeyState();
}

void CHarnessDialog::OnExitClicked(UINT, int, HWND) { OnCancel(); }
