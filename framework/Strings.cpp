#include "Strings.h"

#include "UniqueHandle.h"

namespace {
void FreeLocal(wchar_t *value) noexcept { ::LocalFree(value); }
} // namespace

std::wstring LoadResString(UINT id, HINSTANCE instance)
{
    const wchar_t *text = nullptr;
    // With a zero buffer size the call hands out the resource's own read-only text.
    // The program's own module: the framework is linked into programs only.
    int length = ::LoadStringW(instance ? instance : ::GetModuleHandleW(nullptr), id,
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

std::wstring SystemErrorText(DWORD error, const std::wstring &subject)
{
    wchar_t *text = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    unique_handle<handle_traits::simple<wchar_t *, FreeLocal>> owner(text);
    std::wstring message = length && text ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return FormatString(message, {subject});
}
