// A window object: it owns its window, which it destroys in its destructor,
// and it lets go of the handle when Windows destroys the window first (as it
// does with the children and owned windows of a window that goes).
#pragma once

#include "UniqueHandle.h"

class WindowClass;

class Window {
public:
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return m_window.get(); }
    bool Exists() const noexcept { return m_window.get() != nullptr; }

protected:
    Window() = default;

    // For destructors of windows whose messages use their members: the
    // window goes before the members do.
    void Destroy() noexcept;

    bool CreateOf(const WindowClass &windowClass, DWORD exStyle, DWORD style, const wchar_t *text, const RECT &place,
                  HWND parent);
    // Messages this window handles; failures are turned into default handling.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class WindowClass;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    unique_hwnd m_window;
};

// A window class of this module, registered for the object's lifetime: a
// library must unregister its classes before it is unloaded.
class WindowClass {
public:
    WindowClass(const wchar_t *name, int backgroundColour);
    WindowClass(const WindowClass &) = delete;
    WindowClass &operator=(const WindowClass &) = delete;
    ~WindowClass();

    const wchar_t *Name() const noexcept { return m_name; }
    bool Registered() const noexcept { return m_atom != 0; }

private:
    const wchar_t *m_name;
    ATOM m_atom;
};

// The classes of the engine's windows.
struct WindowClasses {
    WindowClasses();
    bool Registered() const noexcept;

    WindowClass main, page, status, splash;
};

// The engine's module, as the library was told when it was loaded.
HINSTANCE ModuleInstance() noexcept;
// The font of every text the engine draws; a stock object, never deleted.
HFONT InterfaceFont() noexcept;
