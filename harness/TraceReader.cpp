#include "TraceReader.h"

#include "EncodeUtf8.h"
#include "ReadFileBytes.h"
#include "TextEscapes.h"
#include "TraceFormat.h"

#include <cwctype>

namespace {
const wchar_t kHeader[] = L"# WinKelTestExe call trace; harness window ";

bool StartsWith(const std::wstring &text, std::size_t at, const wchar_t *prefix)
{
    return text.compare(at, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

// A reader over one line; every step leaves the position after what it took.
class Cursor {
public:
    explicit Cursor(const std::wstring &line) : m_line(line) {}

    bool AtEnd() const { return m_at >= m_line.size(); }
    std::size_t At() const { return m_at; }
    const std::wstring &Line() const { return m_line; }
    bool Take(const wchar_t *prefix)
    {
        if (!StartsWith(m_line, m_at, prefix))
            return false;
        m_at += std::char_traits<wchar_t>::length(prefix);
        return true;
    }
    std::size_t Blanks()
    {
        std::size_t start = m_at;
        while (m_at < m_line.size() && m_line[m_at] == L' ')
            ++m_at;
        return m_at - start;
    }
    // Milliseconds as the trace writes them: digits, a point, three digits.
    bool Time()
    {
        std::size_t digits = Digits();
        return digits > 0 && Take(L".") && Digits() == 3;
    }
    std::size_t Digits()
    {
        std::size_t start = m_at;
        while (m_at < m_line.size() && std::iswdigit(m_line[m_at]))
            ++m_at;
        return m_at - start;
    }
    bool Name(std::string &name)
    {
        std::size_t start = m_at;
        while (m_at < m_line.size() && (std::iswalnum(m_line[m_at]) || m_line[m_at] == L'_'))
            name += static_cast<char>(m_line[m_at++]);
        return m_at > start;
    }
    bool Number(std::int64_t &value)
    {
        bool negative = Take(L"-");
        std::uint64_t magnitude = 0;
        std::size_t start = m_at;
        if (!negative && Take(L"0x")) {
            start = m_at;
            for (; m_at < m_line.size() && HexValue(m_line[m_at]) >= 0 && m_at - start < 16; ++m_at)
                magnitude = magnitude * 16 + static_cast<unsigned>(HexValue(m_line[m_at]));
        } else {
            for (; m_at < m_line.size() && std::iswdigit(m_line[m_at]) && m_at - start < 19; ++m_at)
                magnitude = magnitude * 10 + static_cast<unsigned>(m_line[m_at] - L'0');
        }
        value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
        return m_at > start && (AtEnd() || !std::iswalnum(m_line[m_at]));
    }
    // A quoted text with the trace's escapes, and the length the trace gave
    // when it cut the text.
    bool Quoted(std::wstring &text, std::size_t &length)
    {
        if (!Take(L"\""))
            return false;
        while (!AtEnd() && m_line[m_at] != L'"') {
            wchar_t c = m_line[m_at++];
            if (c != L'\\') {
                text += c;
                continue;
            }
            wchar_t unit = 0;
            std::size_t taken = 0;
            if (!ReadEscape(m_line.data() + m_at, m_line.size() - m_at, unit, taken))
                return false;
            text += unit;
            m_at += taken;
        }
        if (!Take(L"\""))
            return false;
        length = text.size();
        if (Take(L"... (")) {
            std::int64_t whole = 0;
            if (!Number(whole) || !Take(L" characters)") || whole <= static_cast<std::int64_t>(text.size()))
                return false;
            length = static_cast<std::size_t>(whole);
        }
        return true;
    }

private:
    const std::wstring &m_line;
    std::size_t m_at = 0;
};

bool ReadArgument(Cursor &cursor, TraceArgument &argument)
{
    argument.output = cursor.Take(L"->");
    if (argument.output && cursor.Take(L"?")) {
        argument.kind = TraceArgument::Kind::Unknown;
        return true;
    }
    if (cursor.Take(L"NULL")) {
        argument.kind = TraceArgument::Kind::Null;
        return true;
    }
    if (cursor.Quoted(argument.text, argument.textLength)) {
        argument.kind = TraceArgument::Kind::Text;
        return true;
    }
    argument.kind = TraceArgument::Kind::Number;
    return cursor.Number(argument.number);
}

// After the call: " = code ..." and the duration, " (x ms)", " ...", " did
// not return" or " not made: ...".
bool ReadEnding(Cursor &cursor, TraceLine &line)
{
    if (cursor.AtEnd() || cursor.Take(L" ...")) {
        line.ending = TraceLine::Ending::Open;
        return cursor.AtEnd();
    }
    if (cursor.Take(L" did not return")) {
        line.ending = TraceLine::Ending::DidNotReturn;
        return cursor.AtEnd();
    }
    if (cursor.Take(L" not made: ")) {
        line.ending = TraceLine::Ending::NotMade;
        return true;
    }
    if (cursor.Take(L" = ")) {
        std::int64_t code = 0;
        if (!cursor.Number(code) || code < INT32_MIN || code > INT32_MAX)
            return false;
        line.ending = TraceLine::Ending::Result;
        line.result = static_cast<int>(code);
        return true; // the result's text and the duration follow
    }
    line.ending = TraceLine::Ending::NoResult;
    return cursor.Take(L" (");
}

bool ReadCall(Cursor &cursor, TraceLine &line)
{
    if (!cursor.Name(line.name))
        return false;
    if (!cursor.Take(L"("))
        return ReadEnding(cursor, line) && line.ending == TraceLine::Ending::NotMade; // "Kel_Print not made: ..."
    if (!cursor.Take(L")")) {
        do {
            TraceArgument argument;
            if (!ReadArgument(cursor, argument))
                return false;
            line.arguments.push_back(std::move(argument));
        } while (cursor.Take(L", "));
        if (!cursor.Take(L")"))
            return false;
    }
    return ReadEnding(cursor, line);
}
} // namespace

std::wstring TraceHeader(std::uintptr_t harnessWindow) { return kHeader + trace_format::Address(harnessWindow); }

TraceScript ReadTrace(const std::wstring &text)
{
    TraceScript script;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring content = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!content.empty() && content.back() == L'\r')
            content.pop_back();
        if (number == 1 && !content.empty() && content.front() == L'\uFEFF')
            content.erase(0, 1);

        Cursor cursor(content);
        cursor.Blanks();
        if (cursor.AtEnd())
            continue;
        if (cursor.Take(kHeader)) {
            std::int64_t window = 0;
            if (cursor.Number(window))
                script.harnessWindow = static_cast<std::uintptr_t>(window);
            else
                script.damaged.push_back({number, L"a header without the harness's window"});
            continue;
        }
        if (cursor.Take(L"#"))
            continue;
        if (cursor.Take(L"(")) {
            std::int64_t dropped = 0;
            if (cursor.Number(dropped) && cursor.Take(L" earlier lines dropped")) {
                script.dropped += static_cast<std::size_t>(dropped);
                continue;
            }
        }
        Cursor line(content);
        line.Blanks();
        TraceLine read;
        read.number = number;
        if (!line.Time() || !line.Take(L"  ")) {
            script.damaged.push_back({number, L"not a line of a call trace"});
            continue;
        }
        read.depth = static_cast<int>(line.Blanks() / 4);
        if (line.Take(trace_format::kReplayNote) || line.Take(trace_format::kFaultNote))
            continue;
        if (!ReadCall(line, read)) {
            script.damaged.push_back({number, L"cannot be read from character " + std::to_wstring(line.At() + 1)});
            continue;
        }
        script.lines.push_back(std::move(read));
    }
    return script;
}

bool ReadTraceFile(const std::wstring &path, TraceScript &script, DWORD &error)
{
    std::string bytes;
    // A trace is text for people: far below this.
    if (!ReadFileBytes(path, bytes, error, FILE_SHARE_READ | FILE_SHARE_WRITE, 256LL << 20))
        return false;
    script = ReadTrace(DecodeUtf8(bytes));
    return true;
}
