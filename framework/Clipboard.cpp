#include "Clipboard.h"

#include "UniqueHandle.h"

#include <cstring>

namespace {
// The clipboard held open for the time of one change.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (m_open)
            ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope &) = delete;
    OpenClipboardScope &operator=(const OpenClipboardScope &) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};
} // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring &text)
{
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return false;
    void *target = ::GlobalLock(memory.get());
    if (!target)
        return false;
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory.get());

    OpenClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !::EmptyClipboard())
        return false;
    if (!::SetClipboardData(CF_UNICODETEXT, memory.get()))
        return false;
    memory.release(); // the clipboard owns it now
    return true;
}
