#include "Paint.h"

namespace {
// A paint context, ended on every way out.
class PaintContext {
public:
    explicit PaintContext(HWND window) : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
    ~PaintContext() { ::EndPaint(m_window, &m_paint); }
    PaintContext(const PaintContext &) = delete;
    PaintContext &operator=(const PaintContext &) = delete;
    HDC dc() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint = {};
    HDC m_dc = nullptr;
};
} // namespace

bool PaintMinimisedIcon(HWND window, HICON icon)
{
    if (!::IsIconic(window))
        return false;
    PaintContext paint(window);
    ::SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
    int iconWidth = ::GetSystemMetrics(SM_CXICON);
    int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client = {};
    ::GetClientRect(window, &client);
    int x = (client.right - client.left - iconWidth + 1) / 2;
    int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(paint.dc(), x, y, icon);
    return true;
}
