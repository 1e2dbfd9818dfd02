// A window seen through its handle. Controls of a dialog are bound to CWnd
// members by data exchange; the dialog's window owns them, so these objects
// never destroy their window.
#pragma once

#include "CmdTarget.h"

#include <string>

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    std::wstring GetWindowText() const;
    void SetWindowText(const std::wstring &text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    void SetFont(HFONT font, BOOL redraw = TRUE) const
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    RECT GetClientRect() const;
};

class CStatic : public CWnd {};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE) const;
};

class CComboBox : public CWnd {
public:
    int AddString(const std::wstring &text) const
    {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
};
