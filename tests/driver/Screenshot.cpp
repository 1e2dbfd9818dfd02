#include "UiDriver.h"

#include "DriverInternals.h"

namespace uidriver {
namespace {
void ReleaseScreenDC(HDC dc) noexcept { ::ReleaseDC(nullptr, dc); }
using unique_screen_dc = unique_handle<handle_traits::simple<HDC, ReleaseScreenDC>>;

// Puts the bitmap back out of the memory DC before either is released.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~Selection() { ::SelectObject(m_dc, m_previous); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

template <class T>
void Append(std::string &bytes, const T &value)
{
    bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
}
} // namespace

bool Screenshot(const std::wstring &bmpPath, HWND window)
{
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT screen = {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT area = screen;
    if (window) {
        RECT windowRect = WindowRect(window);
        if (!::IntersectRect(&area, &windowRect, &screen))
            return false;
    }
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;

    unique_screen_dc screenDc(::GetDC(nullptr));
    if (!screenDc)
        return false;
    unique_hdc memoryDc(::CreateCompatibleDC(screenDc.get()));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, the order of the file's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    unique_hbitmap bitmap(::CreateDIBSection(screenDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memoryDc || !bitmap || !bits)
        return false;
    {
        Selection selection(memoryDc.get(), bitmap.get());
        if (!::BitBlt(memoryDc.get(), 0, 0, width, height, screenDc.get(), area.left, area.top, SRCCOPY | CAPTUREBLT))
            return false;
    }
    ::GdiFlush();

    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD pixelBytes = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + pixelBytes;
    info.bmiHeader.biSizeImage = pixelBytes;
    std::string file;
    file.reserve(header.bfSize);
    Append(file, header);
    Append(file, info.bmiHeader);
    file.append(static_cast<const char *>(bits), pixelBytes);
    try {
        detail::WriteWholeFile(bmpPath, file);
        return true;
    } catch (const std::runtime_error &) {
        return false;
    }
}

} // namespace uidriver

namespace uidriver {
COLORREF ScreenPixel(HWND window, POINT clientPoint)
{
    if (!window || !::ClientToScreen(window, &clientPoint))
        return CLR_INVALID;
    unique_screen_dc screenDc(::GetDC(nullptr));
    return screenDc ? ::GetPixel(screenDc.get(), clientPoint.x, clientPoint.y) : CLR_INVALID;
}
} // namespace uidriver
