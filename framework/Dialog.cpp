#include "Dialog.h"

#include "DlgInit.h"
#include "UniqueHandle.h"
#include "WaitCursor.h"
#include "WinApp.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
// The framework's dialogs of this thread, by window. Looked up for every
// message; a window property would cost Wine a call to its server each time.
thread_local std::vector<std::pair<HWND, CDialog *>> t_dialogs;

// The dialog whose window is being created on this thread, and an exception
// that escaped a handler and waits for the innermost modal run to end.
thread_local CDialog *t_creating = nullptr;
// Installed only until the dialog's own window is caught: a hook left in place
// would be called for every window the dialog's initialisation makes.
thread_local unique_hhook t_creationHook;
thread_local std::exception_ptr t_pendingException;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) noexcept
{
    return FALSE; // everything is handled through the subclassed window procedure
}

bool IsDialogClass(HWND window)
{
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}
} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_hParent(parent) {}

CDialog::~CDialog() { DestroyWindow(); }

CDialog *CDialog::FromHandle(HWND window)
{
    for (const auto &entry : t_dialogs) {
        if (entry.first == window)
            return entry.second;
    }
    return nullptr;
}

LRESULT CALLBACK CDialog::CreationHook(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HCBT_CREATEWND && t_creating) {
        HWND window = reinterpret_cast<HWND>(wParam);
        const CREATESTRUCTW *create = reinterpret_cast<CBT_CREATEWNDW *>(lParam)->lpcs;
        if (!(create->style & WS_CHILD) && IsDialogClass(window)) {
            CDialog *dialog = std::exchange(t_creating, nullptr);
            try {
                t_dialogs.emplace_back(window, dialog);
            } catch (...) {
                return ::CallNextHookEx(nullptr, code, wParam, lParam); // not caught: the creation fails
            }
            dialog->m_hWnd = window;
            dialog->m_superProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWndProc)));
            LRESULT result = ::CallNextHookEx(nullptr, code, wParam, lParam);
            t_creationHook.reset();
            return result;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CDialog::CreateWindowFromTemplate(HWND owner)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(m_templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    auto *dialogTemplate = loaded ? static_cast<const DLGTEMPLATE *>(::LockResource(loaded)) : nullptr;
    if (!dialogTemplate)
        return false;

    t_creationHook.reset(::SetWindowsHookExW(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId()));
    t_creating = this;
    HWND window = ::CreateDialogIndirectParamW(instance, dialogTemplate, owner, &PlainDialogProc, 0);
    t_creating = nullptr;
    t_creationHook.reset();
    if (window && m_hWnd != window) {
        ::DestroyWindow(window); // never caught, so no object would own it
        return false;
    }
    return window != nullptr;
}

LRESULT CALLBACK CDialog::FrameworkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    CDialog *dialog = FromHandle(window);
    if (!dialog)
        return ::DefWindowProcW(window, message, wParam, lParam);

    MSG outer = dialog->m_current;
    dialog->m_current = MSG{window, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try {
        result = dialog->WindowProc(message, wParam, lParam);
    } catch (...) {
        // The system's dispatch code cannot carry it; the modal run ends and throws it again.
        if (!t_pendingException)
            t_pendingException = std::current_exception();
    }
    dialog->m_current = outer;

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialog->m_superProc));
        t_dialogs.erase(std::remove(t_dialogs.begin(), t_dialogs.end(), std::make_pair(window, dialog)),
                        t_dialogs.end());
        dialog->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_hParent;
    CWinApp *app = AfxGetApp();
    if (!owner && app && app->m_pMainWnd && app->m_pMainWnd != this)
        owner = app->m_pMainWnd->m_hWnd;
    bool reenableOwner = owner && ::IsWindowEnabled(owner);
    if (reenableOwner)
        ::EnableWindow(owner, FALSE);

    m_endModal = false;
    m_modalResult = -1;
    m_inModalLoop = true;
    bool created = CreateWindowFromTemplate(owner);
    if (created && !m_endModal && !t_pendingException) {
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        while (!m_endModal && !t_pendingException) {
            MSG message;
            BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
            if (got == -1)
                break;
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (!PreTranslateForModal(&message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
    }
    m_inModalLoop = false;

    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (reenableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();

    if (t_pendingException)
        std::rethrow_exception(std::exchange(t_pendingException, nullptr));
    return created ? m_modalResult : -1;
}

bool CDialog::PreTranslateForModal(MSG *message)
{
    // Every framework dialog from the target window up to this one may take
    // the message; this one sees every message, wherever it goes.
    for (HWND window = message->hwnd; window; window = ::GetParent(window)) {
        CDialog *dialog = FromHandle(window);
        if (dialog == this)
            break;
        if (dialog && dialog->PreTranslateMessage(message))
            return true;
    }
    return PreTranslateMessage(message) != FALSE;
}

bool CDialog::Create(HWND parent)
{
    m_hParent = parent;
    return CreateWindowFromTemplate(parent);
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    if (m_inModalLoop)
        m_endModal = true;
    if (m_hWnd)
        ::EndDialog(m_hWnd, result); // hides the window; a modeless one stays alive
}

bool CDialog::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit(m_hWnd, AfxGetInstanceHandle(), m_templateId);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnOKCommand(UINT, int, HWND) { OnOK(); }

void CDialog::OnCancelCommand(UINT, int, HWND) { OnCancel(); }

BOOL CDialog::PreTranslateMessage(MSG *message)
{
    if (m_hWnd && (message->hwnd == m_hWnd || ::IsChild(m_hWnd, message->hwnd)))
        return ::IsDialogMessageW(m_hWnd, message);
    return FALSE;
}

void CDialog::DoDataExchange(CDataExchange *) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

bool CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    *result = 0;
    switch (message) {
    case WM_INITDIALOG:
        *result = OnInitDialog();
        return true;
    case WM_COMMAND: {
        UINT code = HIWORD(wParam), id = LOWORD(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        if (OnCmdMsg(code, id, control))
            return true;
        // Commands no window handles go on to the application object.
        CWinApp *app = AfxGetApp();
        return app && app->OnCmdMsg(code, id, control);
    }
    case WM_SETCURSOR:
        if (CWaitCursor::Active()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            *result = TRUE;
            return true;
        }
        break;
    case WM_HELP:
        if (!FindEntry(WM_HELP, 0, 0)) {
            // F1 raises the standard help command, which the application may handle.
            ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(ID_HELP, 0), 0);
            *result = TRUE;
            return true;
        }
        break;
    }
    if (const MessageMapEntry *entry = FindEntry(message, 0, 0)) {
        *result = entry->thunk(this, message, wParam, lParam);
        return true;
    }
    return false;
}

LRESULT CDialog::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam);
}

void DDX_Control(CDataExchange *dx, int id, CWnd &control)
{
    control.m_hWnd = dx->m_pDlgWnd->GetDlgItem(id);
}
