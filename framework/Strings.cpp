#include "Strings.h"

#include "WinApp.h"

std::wstring LoadResString(UINT id, HINSTANCE instance)
{
    const wchar_t *text = nullptr;
    // With a zero buffer size the call hands out the resource's own read-only text.
    int length = ::LoadStringW(instance ? instance : AfxGetInstanceHandle(), id,
                               reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}
