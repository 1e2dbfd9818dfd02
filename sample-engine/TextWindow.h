// A window that shows one text: the status window and the splash window.
#pragma once

#include "Window.h"

#include <string>

class TextWindow : public Window {
public:
    void SetText(const std::wstring &text);

protected:
    explicit TextWindow(UINT drawFormat) : m_drawFormat(drawFormat) {}
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:

    UINT m_drawFormat;
    std::wstring m_text;
};

// A strip below the host's own area: owned by the host's window, not its child.
class StatusWindow : public TextWindow {
public:
    StatusWindow() : TextWindow(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS) {}

    bool Create(const WindowClass &windowClass, HWND owner);
    // At the point of the owner's client area, as wide as asked.
    void Place(HWND owner, POINT offset, int width);
};

// Shows the caller's tag for a second, counted from when it is first drawn
// (a host may keep it waiting for its message loop), then removes itself.
class SplashWindow : public TextWindow {
public:
    SplashWindow() : TextWindow(DT_CENTER | DT_WORDBREAK) {}

    bool Create(const WindowClass &windowClass, HWND owner, const std::wstring &tag);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool m_timerStarted = false;
};
