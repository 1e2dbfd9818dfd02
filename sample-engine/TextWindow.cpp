#include "TextWindow.h"

namespace {
const int kStatusHeight = 24;
const int kPadding = 6;
const int kSplashWidth = 320, kSplashHeight = 110;
const UINT_PTR kSplashTimer = 1;
const UINT kSplashTime = 1000;
} // namespace

void TextWindow::SetText(const std::wstring &text)
{
    if (text == m_text)
        return;
    m_text = text;
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TextWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return Window::OnMessage(message, wParam, lParam);
    PAINTSTRUCT paint = {};
    HDC dc = ::BeginPaint(Handle(), &paint);
    RECT area = {};
    ::GetClientRect(Handle(), &area);
    ::InflateRect(&area, -kPadding, -kPadding / 2);
    if (m_drawFormat & DT_WORDBREAK)
        area.top += kPadding * 2;
    HGDIOBJ oldFont = ::SelectObject(dc, InterfaceFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &area, m_drawFormat | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
    ::EndPaint(Handle(), &paint);
    return 0;
}

bool StatusWindow::Create(const WindowClass &windowClass, HWND owner)
{
    RECT place = {0, 0, 100, kStatusHeight};
    return CreateOf(windowClass, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_POPUP | WS_BORDER, L"Solvetric status",
                    place, owner);
}

void StatusWindow::Place(HWND owner, POINT offset, int width)
{
    ::ClientToScreen(owner, &offset);
    // Above its owner, as an owned window belongs.
    ::SetWindowPos(Handle(), HWND_TOP, offset.x, offset.y, width, kStatusHeight, SWP_NOACTIVATE);
}

bool SplashWindow::Create(const WindowClass &windowClass, HWND owner, const std::wstring &tag)
{
    RECT frame = {};
    ::GetWindowRect(owner, &frame);
    int x = frame.left + (frame.right - frame.left - kSplashWidth) / 2;
    int y = frame.top + (frame.bottom - frame.top - kSplashHeight) / 2;
    RECT place = {x, y, x + kSplashWidth, y + kSplashHeight};
    if (!CreateOf(windowClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WS_POPUP | WS_BORDER,
                  L"Solvetric", place, owner))
        return false;
    SetText(L"Solvetric\nsample print engine\n\n" + tag);
    ::ShowWindow(Handle(), SW_SHOWNA);
    return true;
}

LRESULT SplashWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && !m_timerStarted)
        m_timerStarted = ::SetTimer(Handle(), kSplashTimer, kSplashTime, nullptr) != 0;
    if (message == WM_TIMER && wParam == kSplashTimer) {
        ::DestroyWindow(Handle()); // the object stays, without a window
        return 0;
    }
    return TextWindow::OnMessage(message, wParam, lParam);
}
