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

std::wstring FormatString(const std::wstring &pattern, std::initializer_list<std::wstring> arguments)
{
    std::wstring result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        std::size_t index = static_cast<std::size_t>(next - L'1');
        if (pattern[i] == L'%' && next >= L'1' && next <= L'9' && index < arguments.size()) {
            result += *(arguments.begin() + index);
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}
