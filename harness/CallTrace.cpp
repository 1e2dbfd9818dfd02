#include "CallTrace.h"

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

void CCallTrace::Note(const std::wstring &text) noexcept
{
    try {
        Append({Now(), 0, text, L"", false});
    } catch (...) {
        // No memory for the line: it is lost.
    }
}

std::wstring CCallTrace::OpenCall() const
{
    for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line) {
        if (line->open)
            return line->call;
    }
    return std::wstring();
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
    return text + LinesFrom(0);
}

std::wstring CCallTrace::LinesFrom(std::size_t first) const
{
    std::wstring text;
    wchar_t at[32];
    for (std::size_t index = first; index < m_lines.size(); ++index) {
        const Line &line = m_lines[index];
        std::swprintf(at, sizeof at / sizeof at[0], L"%10.3f  ", line.at);
        text += at;
        text.append(static_cast<std::size_t>(line.depth) * 4, L' ');
        text += line.call;
        text += line.open ? L" ..." : line.ending;
        text += L"\r\n";
    }
    return text;
}
