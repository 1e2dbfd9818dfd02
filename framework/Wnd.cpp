#include "Wnd.h"

std::wstring CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

RECT CWnd::GetClientRect() const
{
    RECT rect = {};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

void CEdit::SetSel(int start, int end, BOOL noScroll) const
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}
