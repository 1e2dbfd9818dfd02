// One move-only owner for every kind of Windows handle: the traits say what
// "no handle" is and how one is released.
#pragma once

#include <windows.h>

#include <utility>

template <class Traits>
class unique_handle {
public:
    using pointer = typename Traits::pointer;

    unique_handle() noexcept = default;
    explicit unique_handle(pointer value) noexcept : m_value(value) {}
    ~unique_handle() { reset(); }

    unique_handle(const unique_handle &) = delete;
    unique_handle &operator=(const unique_handle &) = delete;
    unique_handle(unique_handle &&other) noexcept : m_value(other.release()) {}
    unique_handle &operator=(unique_handle &&other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    pointer get() const noexcept { return m_value; }
    explicit operator bool() const noexcept { return m_value != Traits::invalid(); }

    pointer release() noexcept { return std::exchange(m_value, Traits::invalid()); }
    void reset(pointer value = Traits::invalid()) noexcept
    {
        pointer old = std::exchange(m_value, value);
        if (old != Traits::invalid())
            Traits::close(old);
    }

private:
    pointer m_value = Traits::invalid();
};

namespace handle_traits {
// A handle type whose "none" is null, released by Close.
template <class T, void (*Close)(T) noexcept>
struct simple {
    using pointer = T;
    static T invalid() noexcept { return nullptr; }
    static void close(T value) noexcept { Close(value); }
};

// File handles use INVALID_HANDLE_VALUE for "none".
struct file {
    using pointer = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) noexcept { ::CloseHandle(value); }
};

inline void CloseKernelHandle(HANDLE value) noexcept { ::CloseHandle(value); }
inline void CloseIcon(HICON value) noexcept { ::DestroyIcon(value); }
inline void CloseMenu(HMENU value) noexcept { ::DestroyMenu(value); }
inline void DestroyWnd(HWND value) noexcept { ::DestroyWindow(value); }
inline void CloseHook(HHOOK value) noexcept { ::UnhookWindowsHookEx(value); }
inline void CloseDC(HDC value) noexcept { ::DeleteDC(value); }
inline void FreeGlobal(HGLOBAL value) noexcept { ::GlobalFree(value); }
template <class T>
inline void CloseGdiObject(T value) noexcept { ::DeleteObject(value); }
} // namespace handle_traits

using unique_kernel_handle = unique_handle<handle_traits::simple<HANDLE, handle_traits::CloseKernelHandle>>;
using unique_file = unique_handle<handle_traits::file>;
using unique_hicon = unique_handle<handle_traits::simple<HICON, handle_traits::CloseIcon>>;
using unique_hmenu = unique_handle<handle_traits::simple<HMENU, handle_traits::CloseMenu>>;
using unique_hwnd = unique_handle<handle_traits::simple<HWND, handle_traits::DestroyWnd>>;
using unique_hhook = unique_handle<handle_traits::simple<HHOOK, handle_traits::CloseHook>>;
using unique_hglobal = unique_handle<handle_traits::simple<HGLOBAL, handle_traits::FreeGlobal>>;
using unique_hdc = unique_handle<handle_traits::simple<HDC, handle_traits::CloseDC>>;
using unique_hbrush = unique_handle<handle_traits::simple<HBRUSH, handle_traits::CloseGdiObject<HBRUSH>>>;
using unique_hfont = unique_handle<handle_traits::simple<HFONT, handle_traits::CloseGdiObject<HFONT>>>;
using unique_hbitmap = unique_handle<handle_traits::simple<HBITMAP, handle_traits::CloseGdiObject<HBITMAP>>>;
