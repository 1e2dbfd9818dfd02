#include "CallTrace.h"

#include "EngineContract.h"
#include "EngineInterface.h"
#include "ErrorReport.h"
#include "Strings.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>

CCallTrace::CCallTrace(std::size_t bound) : m_bound(bound > 0 ? bound : 1)
{
    ::QueryPerformanceFrequency(&m_frequency);
    ::QueryPerformanceCounter(&m_start);
}

double CCallTrace::Now() const noexcept
{
    LARGE_INTEGER now = {};
    ::QueryPerformanceCounter(&now);
    if (m_frequency.QuadPart == 0)
        return 0.0;
    return static_cast<double>(now.QuadPart - m_start.QuadPart) * 1000.0 / static_cast<double>(m_frequency.QuadPart);
}

void CCallTrace::Append(Line line)
{
    if (m_lines.size() >= m_bound) {
        m_lines.pop_front();
        ++m_firstTicket;
        ++m_dropped;
    }
    m_lines.push_back(std::move(line));
    ++m_version;
}

std::uint64_t CCallTrace::Open(const std::wstring &call) noexcept
{
    std::uint64_t ticket = m_firstTicket + m_lines.size();
    try {
        Append({Now(), m_depth, call, L"", true});
    } catch (...) {
        ticket = UINT64_MAX; // no line to complete; the depth still counts the call
    }
    ++m_depth;
    return ticket;
}

void CCallTrace::Close(std::uint64_t ticket, const std::wstring &call, const std::wstring &ending) noexcept
{
    if (m_depth > 0)
        --m_depth;
    // The bound or Clear may have taken the line meanwhile.
    if (ticket < m_firstTicket || ticket - m_firstTicket >= m_lines.size())
        return;
    Line &line = m_lines[static_cast<std::size_t>(ticket - m_firstTicket)];
    try {
        if (!call.empty())
            line.call = call;
        line.ending = ending;
    } catch (...) {
        // The line keeps what it had; only its ending is lost.
    }
    line.open = false;
    ++m_version;
}

void CCallTrace::Refused(const std::wstring &call, const std::wstring &reason) noexcept
{
    try {
        Append({Now(), m_depth, call, L" not made: " + reason, false});
    } catch (...) {
        // No memory for the line: it is lost, and the refusal stands all the same.
    }
}

void CCallTrace::Clear() noexcept
{
    m_firstTicket += m_lines.size();
    m_lines.clear();
    m_dropped = 0;
    ++m_version;
}

std::wstring CCallTrace::Text() const
{
    std::wstring text;
    if (m_dropped > 0)
        text += L"(" + std::to_wstring(m_dropped) + L" earlier lines dropped: the trace keeps the last " +
                std::to_wstring(m_bound) + L")\r\n";
    wchar_t at[32];
    for (const Line &line : m_lines) {
        std::swprintf(at, sizeof at / sizeof at[0], L"%10.3f  ", line.at);
        text += at;
        text.append(static_cast<std::size_t>(line.depth) * 4, L' ');
        text += line.call;
        text += line.open ? L" ..." : line.ending;
        text += L"\r\n";
    }
    return text;
}

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

} // namespace trace_format
