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
    // A line that is no call, at the left whatever runs: what a replay says
    // between its calls, the fault that ended a run.
    void Note(const std::wstring &text) noexcept;
    // The call of the innermost line still open, empty when none is.
    std::wstring OpenCall() const;
    void Clear() noexcept;

    // Every line with CR LF after it; first, when the bound dropped lines, how many.
    std::wstring Text() const;
    // The same of the lines from the given one on (0 is the first kept).
    std::wstring LinesFrom(std::size_t first) const;
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
