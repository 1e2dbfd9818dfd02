// A dialog bound to a numbered template. Its window is subclassed from the
// moment it is created, so WindowProc sees every message before the default
// dialog handling; modal runs use the framework's own loop, so that
// PreTranslateMessage sees every queued message.
#pragma once

#include "Wnd.h"

#include <exception>

class CDataExchange;

// The framework's standard help command, raised when the user presses F1.
constexpr UINT ID_HELP = 57670;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog &) = delete;
    CDialog &operator=(const CDialog &) = delete;

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the window could not be created. An exception that escaped a
    // handler during the run ends it and is thrown again from here.
    virtual INT_PTR DoModal();
    // Creates the dialog as a modeless window; it shows when its template says so.
    bool Create(HWND parent = nullptr);
    void EndDialog(int result);
    bool DestroyWindow();

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL PreTranslateMessage(MSG *message);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(CDataExchange *dx);

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT TemplateId() const { return m_templateId; }

    static CDialog *FromHandle(HWND window);

protected:
    // The message being handled, passed on to the default handling.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Message map dispatch; false when nothing handled the message.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result);

    DECLARE_MESSAGE_MAP()

private:
    void OnOKCommand(UINT code, int id, HWND control);
    void OnCancelCommand(UINT code, int id, HWND control);
    bool CreateWindowFromTemplate(HWND owner);
    bool PreTranslateForModal(MSG *message);

    static LRESULT CALLBACK FrameworkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) noexcept;

    UINT m_templateId;
    HWND m_hParent;
    WNDPROC m_superProc = nullptr;
    MSG m_current = {};
    bool m_inModalLoop = false;
    bool m_endModal = false;
    INT_PTR m_modalResult = -1;
};

// The exchange between a dialog and the members bound to its controls.
class CDataExchange {
public:
    CDataExchange(CDialog *dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog *m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds a control member to the dialog's control with that id.
void DDX_Control(CDataExchange *dx, int id, CWnd &control);
