#include "HandleCount.h"

#include <windows.h>

#include <cstdint>

namespace {
// Wine hands out user and GDI handles with small index values and accepts
// them without their generation bits, so a scan over those values finds
// every object; Windows reports the counts directly.
const std::uintptr_t kHandleValues = 0x10000;

template <class Handle>
Handle AsHandle(std::uintptr_t value)
{
    return reinterpret_cast<Handle>(value);
}
} // namespace

std::string HandleCountLine()
{
    const DWORD self = ::GetCurrentProcessId();
    int windows = 0, menus = 0, gdi = 0;
    for (std::uintptr_t value = 4; value < kHandleValues; value += 2) {
        HWND window = AsHandle<HWND>(value);
        DWORD owner = 0;
        if (::IsWindow(window) && ::GetWindowThreadProcessId(window, &owner) && owner == self)
            ++windows;
        else if (::IsMenu(AsHandle<HMENU>(value)))
            ++menus;
    }
    for (std::uintptr_t value = 0; value < kHandleValues; ++value) {
        if (::GetObjectType(AsHandle<HGDIOBJ>(value)) != 0)
            ++gdi;
    }
    DWORD reportedGdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reportedGdi != 0)
        gdi = static_cast<int>(reportedGdi);
    return "handles windows=" + std::to_string(windows) + " menus=" + std::to_string(menus) +
           " gdi=" + std::to_string(gdi);
}
