#include "TraceFormat.h"

#include "EngineContract.h"
#include "EngineInterface.h"
#include "ErrorReport.h"
#include "Strings.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace trace_format {

std::wstring Text(const wchar_t *text, std::size_t capacity)
{
    if (!text)
        return L"NULL";
    std::size_t length = 0;
    while (length < capacity && text[length])
        ++length;
    std::wstring quoted = L"\"";
    for (std::size_t i = 0; i < length && i < kTextLimit; ++i) {
        wchar_t c = text[i];
        switch (c) {
        case L'"': quoted += L"\\\""; break;
        case L'\\': quoted += L"\\\\"; break;
        case L'\n': quoted += L"\\n"; break;
        case L'\r': quoted += L"\\r"; break;
        case L'\t': quoted += L"\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                wchar_t escaped[8];
                std::swprintf(escaped, sizeof escaped / sizeof escaped[0], L"\\u%04X", static_cast<unsigned>(c));
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    quoted += L"\"";
    if (length > kTextLimit)
        quoted += L"... (" + std::to_wstring(length) + L" characters)";
    return quoted;
}

std::wstring Joined(const char *name, const std::vector<std::wstring> &arguments)
{
    std::wstring text(name, name + std::strlen(name));
    text += L"(";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        text += (i ? L", " : L"") + arguments[i];
    return text + L")";
}

std::wstring Address(std::uintptr_t value)
{
    std::wstring text = L"0x";
    for (int shift = static_cast<int>(sizeof value * 8) - 4; shift >= 0; shift -= 4)
        text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
    return text;
}

std::wstring EngineResult(int code)
{
    std::wstring text = EngineTableText(code);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    // Some of the table's texts stand between blanks.
    text.erase(0, std::min(text.find_first_not_of(L' '), text.size()));
    return L" = " + std::to_wstring(code) + L" " + (code == KEL_OK ? std::wstring(L"OK") : text);
}

std::wstring LoadResult(int code, DWORD systemError)
{
    std::wstring text = EngineResult(code);
    if (code != KEL_OK && systemError != 0)
        text += L" - " + SystemErrorText(systemError, KEL_ENGINE_FILE_NAME) + L" (" + std::to_wstring(systemError) + L")";
    return text;
}

std::wstring Number(int value) { return L" = " + std::to_wstring(value); }

std::wstring Duration(double milliseconds)
{
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L" (%.3f ms)", milliseconds);
    return text;
}

std::wstring Fault(DWORD code, const std::wstring &place, const std::wstring &openCall)
{
    wchar_t number[16];
    std::swprintf(number, sizeof number / sizeof number[0], L"0x%08lX", static_cast<unsigned long>(code));
    return kFaultNote + std::wstring(L"exception ") + number + L" " + place +
           (openCall.empty() ? std::wstring(L" between calls") : L" during " + openCall);
}

} // namespace trace_format
