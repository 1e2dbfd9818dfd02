// What the harness said to the engine and what came back: one line per call,
// in the order made, the latest lines kept up to a bound. A line opens before
// its call, so that what the engine calls back meanwhile stands indented
// under it, and is completed when the call returns.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class CCallTrace {
public:
    static constexpr std::size_t kDefaultBound = 10000;

    explicit CCallTrace(std::size_t bound = kDefaultBound);

    // Nothing here may disturb a call: a line that finds no memory is lost.
    // Open returns the ticket that Close completes the line by; lines opened
    // before Close stand one step further in.
    std::uint64_t Open(const std::wstring &call) noexcept;
    void Close(std::uint64_t ticket, const std::wstring &call, const std::wstring &ending) noexcept;
    // A call refused before it reached the engine.
    void Refused(const std::wstring &call, const std::wstring &reason) noexcept;
    void Clear() noexcept;

    // Every line with CR LF after it; first, when the bound dropped lines, how many.
    std::wstring Text() const;
    std::size_t LineCount() const { return m_lines.size(); }
    std::uint64_t Dropped() const { return m_dropped; }
    // Changes with every change, so that a view knows when to show the text again.
    std::uint64_t Version() const { return m_version; }

    // Whether the message relay's Kel_SendMessage calls are written too:
    // every message of the main window makes one.
    bool IncludesRelays() const { return m_includeRelays; }
    void IncludeRelays(bool include) { m_includeRelays = include; }

    // Milliseconds since the trace began.
    double Now() const noexcept;

private:
    struct Line {
        double at;
        int depth;
        std::wstring call;
        std::wstring ending;
        bool open;
    };
    void Append(Line line);

    std::size_t m_bound;
    std::deque<Line> m_lines;
    std::uint64_t m_firstTicket = 0; // of m_lines.front()
    std::uint64_t m_dropped = 0;
    std::uint64_t m_version = 0;
    int m_depth = 0;
    bool m_includeRelays = false;
    LARGE_INTEGER m_start = {};
    LARGE_INTEGER m_frequency = {};
};

// How arguments and results read in the trace.
namespace trace_format {
// Texts longer than this are cut, and their length is given.
constexpr std::size_t kTextLimit = 80;

// Quoted, with \" \\ \n \r \t and \uXXXX for other control characters;
// NULL for null. At most `capacity` units are read.
std::wstring Text(const wchar_t *text, std::size_t capacity = static_cast<std::size_t>(-1));
// Handles and addresses: 0x and eight hex digits (more where they are wider).
std::wstring Address(std::uintptr_t value);
// "Name(argument, argument)"
std::wstring Joined(const char *name, const std::vector<std::wstring> &arguments);
// " = code OK" or " = code <its text from the error table>".
std::wstring EngineResult(int code);
// The library's load: EngineResult, and for a failure the system's reason and
// its number, as in " = 26 Dll failed to load. - Module not found. (126)".
std::wstring LoadResult(int code, DWORD systemError);
// " = value", for what the hooks return.
std::wstring Number(int value);
// " (1.234 ms)"
std::wstring Duration(double milliseconds);
} // namespace trace_format
