#include "Clipboard.h"

#include "UniqueHandle.h"

#include <cstring>

namespace {
// The clipboard held open for the time of one change.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner)
    {
        for (int attempt = 0; attempt < 10 && !(m_open = ::OpenClipboard(owner) != FALSE); ++attempt)
            ::Sleep(25);
    }
    ~OpenClipboardScope()
    {
        if (m_open)
            ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope &) = delete;
    OpenClipboardScope &operator=(const OpenClipboardScope &) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
};
} // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring &text, DWORD &error)
{
    auto fail = [&error] {
        error = ::GetLastError();
        return false;
    };
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return fail();
    void *target = ::GlobalLock(memory.get());
    if (!target)
        return fail();
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory.get());

    OpenClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !::EmptyClipboard())
        return fail();
    if (!::SetClipboardData(CF_UNICODETEXT, memory.get()))
        return fail();
    memory.release(); // the clipboard owns it now
    return true;
}
