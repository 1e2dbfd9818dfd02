// The harness's boxes have no owner, so another button may run while one
// stands: a handler tests its slot again right before a call that follows
// one of them.
#include "EnginePanel.h"

#include "CommandFrame.h"
#include "EngineLoader.h"
#include "ErrorReport.h"
#include "Strings.h"
#include "TextViewer.h"
#include "resource.h"

#include <cstdint>
#include <cwchar>
#include <string>
#include <type_traits>
#include <vector>

namespace {
const wchar_t kCallerTag[] = L"KelmTest - 04_19_01";
// Handles and hook addresses travel as 32-bit numbers, as the engine takes them.
int NumberOf(const void *value) { return static_cast<int>(reinterpret_cast<std::intptr_t>(value)); }
template <class Function>
int NumberOf(Function function)
{
    return NumberOf(reinterpret_cast<const void *>(function));
}
const void *AddressOf(int value) { return reinterpret_cast<const void *>(static_cast<std::intptr_t>(value)); }
HWND WindowOf(int value) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(value)); }

// The hook for a number from the editor: the harness's own (by its number) or
// none. Any other number would be called by the engine later: refused.
template <class Hook>
bool HookOf(int value, Hook own, Hook &hook)
{
    if (value == 0) {
        hook = nullptr;
        return true;
    }
    if (value == NumberOf(own)) {
        hook = own;
        return true;
    }
    return false;
}

// The version box's text, printf style as it was specified: its "%d", then its "%s".
std::wstring VersionText(int size, const std::wstring &version)
{
    std::wstring result = LoadResString(IDS_VERSION_FORMAT);
    std::size_t at = result.find(L"%d");
    if (at != std::wstring::npos)
        result.replace(at, 2, std::to_wstring(size));
    at = result.find(L"%s", at == std::wstring::npos ? 0 : at);
    if (at != std::wstring::npos)
        result.replace(at, 2, version);
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

BEGIN_MESSAGE_MAP(CEnginePanel, CCmdTarget)
    ON_COMMAND(IDC_LOAD, OnLoadClicked)
    ON_COMMAND(IDC_FREE, OnFreeClicked)
    ON_COMMAND(IDC_INIT_MAIN, OnInitMainClicked)
    ON_COMMAND(IDC_CREATE_MAIN, OnCreateMainClicked)
    ON_COMMAND(IDC_SHOW_MAIN, OnShowMainClicked)
    ON_COMMAND(IDC_HIDE_MAIN, OnHideMainClicked)
    ON_COMMAND(IDC_GET_WINDOW_MAIN, OnGetWindowClicked)
    ON_COMMAND(IDC_INIT_STATUS, OnInitStatusClicked)
    ON_COMMAND(IDC_CREATE_STATUS, OnCreateStatusClicked)
    ON_COMMAND(IDC_SHOW_STATUS, OnShowStatusClicked)
    ON_COMMAND(IDC_HIDE_STATUS, OnHideStatusClicked)
    ON_COMMAND(IDC_GET_WINDOW_STATUS, OnGetWindowClicked)
    ON_COMMAND(IDC_VERSION, OnVersionClicked)
    ON_COMMAND(IDC_PAPER_CATALOG, OnPaperCatalogClicked)
    ON_COMMAND(IDC_PRINT, OnPrintClicked)
    ON_COMMAND(IDC_KEL_EXIT, OnKelExitClicked)
    ON_COMMAND(IDC_SHOW_GUI, OnShowGuiClicked)
    ON_COMMAND(IDC_QUICK_START, OnQuickStartClicked)
    ON_COMMAND(IDC_QUICK_FREE, OnQuickFreeClicked)
END_MESSAGE_MAP()

CEnginePanel::~CEnginePanel() { DestroyGuiElementDialog(); }

void CEnginePanel::DestroyGuiElementDialog()
{
    if (m_pGuiElementDialog) {
        m_pGuiElementDialog->DestroyWindow();
        m_pGuiElementDialog.reset();
    }
}

void CEnginePanel::OnLoadClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    frame.Report(EngineCalls::Load(), StateBox::Library, IDS_LOADED);
}

void CEnginePanel::OnFreeClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.LoadedElseReset(&Entry::Kel_GetWindowMain, &Entry::Kel_GetWindowStatus))
        return;
    HWND mainWindow = nullptr;
    if (EngineCalls::Call(&Entry::Kel_GetWindowMain, &mainWindow) == KEL_OK && mainWindow) {
        switch (HarnessMessageBox(IDS_FREE_WITHOUT_EXIT, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDYES: OnKelExitClicked(0, IDC_KEL_EXIT, nullptr); break;
        case IDNO: break;
        default: return;
        }
    }
    EngineCalls::Free(); // its result is not shown: the box reads NULL either way
    m_host.SetState(StateBox::Library, IDS_NULL);
}

void CEnginePanel::OnInitMainClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_InitMain))
        return;
    Parameter messageHook = {IDS_LABEL_MESSAGE_HOOK, NumberOf(&EngineCalls::MessageHook)};
    Parameter titleHook = {IDS_LABEL_TITLE_HOOK, NumberOf(&EngineCalls::SetTitleHook)};
    if (!frame.EditParameters(L"Kel_InitMain", {&messageHook, &titleHook}))
        return;
    KelMessageHook messageHookArgument = nullptr;
    KelTitleHook titleHookArgument = nullptr;
    bool ownMessageHook = HookOf<KelMessageHook>(messageHook.value, &EngineCalls::MessageHook, messageHookArgument);
    if (ownMessageHook && HookOf<KelTitleHook>(titleHook.value, &EngineCalls::SetTitleHook, titleHookArgument)) {
        frame.Report(EngineCalls::Call(&Entry::Kel_InitMain, messageHookArgument, titleHookArgument), StateBox::Main,
                     IDS_ALLOCATED);
        return;
    }
    EngineCalls::Refused(
        trace_format::Call("Kel_InitMain", false, AddressOf(messageHook.value), AddressOf(titleHook.value)),
        L"a hook that is not the harness's own");
    int foreign = ownMessageHook ? titleHook.value : messageHook.value;
    HarnessMessageBox(FormatString(LoadResString(IDS_FOREIGN_HOOK), {std::to_wstring(foreign)}), MB_ICONERROR);
}

void CEnginePanel::OnCreateMainClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_CreateMain))
        return;
    Parameter parent = {IDS_LABEL_PARENT, NumberOf(m_host.Window())};
    Parameter splash = {IDS_LABEL_SPLASH, 0};
    if (!frame.EditParameters(L"Kel_CreateMain", {&parent, &splash}))
        return;
    std::wstring tag = kCallerTag; // the engine takes a writable text
    int result = EngineCalls::Call(&Entry::Kel_CreateMain, WindowOf(parent.value), splash.value, &tag[0]);
    // A new main window shows every page, whatever the toggles said before.
    m_host.PressAllPageToggles();
    frame.Report(result, StateBox::Main, IDS_CREATED);
}

void CEnginePanel::OnShowMainClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_ShowMain))
        return;
    RECT place = m_host.FrameRectangle();
    Parameter show = {IDS_LABEL_SHOW, SW_SHOW};
    Parameter x = {IDS_LABEL_OFFSET_X, place.left + 2};
    Parameter y = {IDS_LABEL_OFFSET_Y, place.top + 8};
    if (!frame.EditParameters(L"Kel_ShowMain", {&show, &x, &y}))
        return;
    frame.Report(EngineCalls::Call(&Entry::Kel_ShowMain, show.value, x.value, y.value));
}

void CEnginePanel::OnHideMainClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (frame.Loaded(&Entry::Kel_ShowMain))
        frame.Report(EngineCalls::Call(&Entry::Kel_ShowMain, SW_HIDE, 1, 0));
}

// Get Window of either group: Success for a window, then the report.
void CEnginePanel::OnGetWindowClicked(UINT, int id, HWND)
{
    auto slot = id == IDC_GET_WINDOW_MAIN ? &Entry::Kel_GetWindowMain : &Entry::Kel_GetWindowStatus;
    CCommandFrame frame(m_host);
    if (!frame.Loaded(slot))
        return;
    HWND window = nullptr;
    int result = EngineCalls::Call(slot, &window);
    if (result == KEL_OK && window)
        HarnessMessageBox(IDS_SUCCESS, MB_OK);
    frame.Report(result);
}

void CEnginePanel::OnInitStatusClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (frame.Loaded(&Entry::Kel_InitStatus))
        frame.Report(EngineCalls::Call(&Entry::Kel_InitStatus), StateBox::Status, IDS_ALLOCATED);
}

void CEnginePanel::OnCreateStatusClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_CreateStatus))
        return;
    Parameter parent = {IDS_LABEL_PARENT, NumberOf(m_host.Window())};
    if (!frame.EditParameters(L"Kel_CreateStatus", {&parent}))
        return;
    frame.Report(EngineCalls::Call(&Entry::Kel_CreateStatus, WindowOf(parent.value)), StateBox::Status, IDS_CREATED);
}

void CEnginePanel::OnShowStatusClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_ShowStatus, &Entry::Kel_GetWindowMain))
        return;
    HWND mainWindow = nullptr;
    int result = frame.Report(EngineCalls::Call(&Entry::Kel_GetWindowMain, &mainWindow));
    int height = 0;
    if (result != KEL_OK)
        HarnessMessageBox(IDS_NO_STATUS_POSITION, MB_OK);
    else
        height = ClientHeight(mainWindow);
    RECT place = m_host.FrameRectangle();
    Parameter show = {IDS_LABEL_SHOW, SW_SHOW};
    Parameter x = {IDS_LABEL_OFFSET_X, place.left + 2};
    Parameter y = {IDS_LABEL_OFFSET_Y, place.top + height + 14};
    if (!frame.EditParameters(L"Kel_ShowStatus", {&show, &x, &y}))
        return;
    if (frame.LoadedElseReset(&Entry::Kel_ShowStatus))
        frame.Report(EngineCalls::Call(&Entry::Kel_ShowStatus, show.value, x.value, y.value));
}

void CEnginePanel::OnHideStatusClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (frame.Loaded(&Entry::Kel_ShowStatus))
        frame.Report(EngineCalls::Call(&Entry::Kel_ShowStatus, SW_HIDE, 1, ClientHeight(m_host.Window()) + 4));
}

static_assert(std::is_same<Kel_GetSizeOfVersion_fn, Kel_GetSizeOfPaperCatalog_fn>::value &&
                  std::is_same<Kel_GetVersion_fn, Kel_GetPaperCatalog_fn>::value,
              "version and catalog are fetched alike");

bool CEnginePanel::FetchEngineText(CCommandFrame &frame, TextSizeSlot Entry::*sizeOf, TextSlot Entry::*textOf,
                                   int &size, std::wstring &text)
{
    size = 0;
    int result = frame.Report(EngineCalls::Call(sizeOf, &size));
    if (result != KEL_OK || size == 0) {
        frame.NothingToFetch();
        return false;
    }
    if (size < 0 || size > kLargestEngineText) {
        HarnessMessageBox(FormatString(LoadResString(IDS_SIZE_OUT_OF_RANGE), {std::to_wstring(size)}),
                          MB_ICONERROR);
        return false;
    }
    // One zero unit more than reported: a text the engine leaves unterminated
    // still ends, and nothing past the buffer is read.
    std::vector<wchar_t> buffer(static_cast<std::size_t>(size) + 1, L'\0');
    // The error box above let other buttons run: a Free may have come meanwhile.
    if (!frame.LoadedElseReset(textOf))
        return false;
    if (frame.Report(EngineCalls::Call(textOf, OutText{buffer.data(), buffer.size()})) != KEL_OK)
        return false;
    text.assign(buffer.data(), wcsnlen(buffer.data(), static_cast<std::size_t>(size)));
    return true;
}

void CEnginePanel::OnVersionClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_GetSizeOfVersion, &Entry::Kel_GetVersion))
        return;
    int size = 0;
    std::wstring text;
    if (FetchEngineText(frame, &Entry::Kel_GetSizeOfVersion, &Entry::Kel_GetVersion, size, text))
        HarnessMessageBox(VersionText(size, text), MB_OK);
}

void CEnginePanel::OnPaperCatalogClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_GetSizeOfPaperCatalog, &Entry::Kel_GetPaperCatalog))
        return;
    int size = 0;
    std::wstring catalog;
    if (!FetchEngineText(frame, &Entry::Kel_GetSizeOfPaperCatalog, &Entry::Kel_GetPaperCatalog, size, catalog))
        return;
    CTextViewer viewer;
    viewer.SetText(std::move(catalog));
    viewer.DoModal();
}

void CEnginePanel::OnPrintClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (frame.LoadedElseReset(&Entry::Kel_Print))
        frame.Report(EngineCalls::Call(&Entry::Kel_Print));
}

void CEnginePanel::OnKelExitClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_Exit))
        return;
    Parameter force = {IDS_LABEL_FORCE, 0};
    if (!frame.EditParameters(L"Kel_Exit", {&force}))
        return;
    if (frame.Report(EngineCalls::Call(&Entry::Kel_Exit, force.value)) == KEL_OK) {
        m_host.SetState(StateBox::Main, IDS_NULL);
        m_host.SetState(StateBox::Status, IDS_NULL);
    }
}

void CEnginePanel::OnShowGuiClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!m_pGuiElementDialog) {
        auto dialog = std::make_unique<CGuiElementDialog>();
        if (dialog->Create(m_host.Window()))
            m_pGuiElementDialog = std::move(dialog);
    }
    if (m_pGuiElementDialog)
        m_pGuiElementDialog->ShowWindow(SW_SHOW);
}

// The two sequences run the handlers themselves, each in its own frame; they
// only reset the key state, without a wait cursor of their own.
void CEnginePanel::OnQuickStartClicked(UINT, int, HWND)
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
    m_host.ResetKeyState();
}

void CEnginePanel::OnQuickFreeClicked(UINT, int, HWND)
{
    m_host.ResetKeyState();
    OnKelExitClicked(0, IDC_KEL_EXIT, nullptr);
    OnFreeClicked(0, IDC_FREE, nullptr);
    m_host.ResetKeyState();
}
