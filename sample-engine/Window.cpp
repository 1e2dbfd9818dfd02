#include "Window.h"

Window::~Window() { Destroy(); }

void Window::Destroy() noexcept
{
    // Messages sent while the window is destroyed no longer reach the object.
    if (HWND window = m_window.get())
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    m_window.reset();
}

bool Window::CreateOf(const WindowClass &windowClass, DWORD exStyle, DWORD style, const wchar_t *text,
                      const RECT &place, HWND parent)
{
    ::CreateWindowExW(exStyle, windowClass.Name(), text, style, place.left, place.top, place.right - place.left,
                      place.bottom - place.top, parent, nullptr, ModuleInstance(), this);
    return Exists();
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window.reset(window);
    }
    auto *self = reinterpret_cast<Window *>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window.release();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

WindowClass::WindowClass(const wchar_t *name, int backgroundColour) : m_name(name)
{
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    description.lpfnWndProc = &Window::Procedure;
    description.hInstance = ModuleInstance();
    description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
    description.lpszClassName = name;
    m_atom = ::RegisterClassExW(&description);
}

WindowClass::~WindowClass()
{
    if (m_atom)
        ::UnregisterClassW(m_name, ModuleInstance());
}

WindowClasses::WindowClasses()
    : main(L"SolvetricMain", COLOR_BTNFACE), page(L"SolvetricPage", COLOR_BTNFACE),
      status(L"SolvetricStatus", COLOR_BTNFACE), splash(L"SolvetricSplash", COLOR_WINDOW)
{
}

bool WindowClasses::Registered() const noexcept
{
    return main.Registered() && page.Registered() && status.Registered() && splash.Registered();
}

HFONT InterfaceFont() noexcept { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }
