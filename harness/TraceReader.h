// Reads a call trace as Save... wrote it, or as Copy took it, back into its
// calls: every line form the trace writes, the header Save... puts first, and
// what a replay added.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One argument as the trace wrote it.
struct TraceArgument {
    enum class Kind {
        Null,    // NULL: a null pointer, text or buffer
        Number,  // signed decimal, or 0x hexadecimal for handles and addresses
        Text,    // a quoted text
        Unknown, // "->?": what a call that did not return left unread
    } kind = Kind::Null;
    bool output = false;         // "->": what the engine wrote through it
    std::int64_t number = 0;
    std::wstring text;           // unescaped
    std::size_t textLength = 0;  // of the whole text; more than text holds when cut
    bool Cut() const { return textLength > text.size(); }
};

struct TraceLine {
    enum class Ending {
        Result,       // " = code ..." (x ms)
        NoResult,     // " (x ms)": a call that gives nothing back
        Open,         // " ...": still running when the trace was taken
        DidNotReturn, // an exception left the call
        NotMade,      // refused before it reached the engine
    };
    std::size_t number = 0; // in the file, from 1
    int depth = 0;          // 0 for the harness's own calls; more for what ran inside one
    std::string name;
    std::vector<TraceArgument> arguments;
    Ending ending = Ending::Result;
    int result = 0; // with Ending::Result
};

struct TraceScript {
    // The window the harness gave the engine in that run, when Save... said so.
    std::optional<std::uintptr_t> harnessWindow;
    std::vector<TraceLine> lines;
    // Lines of the call forms that could not be read, and why.
    struct Damaged {
        std::size_t number;
        std::wstring reason;
    };
    std::vector<Damaged> damaged;
    std::size_t dropped = 0; // lines the trace's bound had dropped before its first
};

// The header line Save... writes before the trace: which window was the
// harness's, so that a replay can put its own in that place.
std::wstring TraceHeader(std::uintptr_t harnessWindow);

// Every line of the text. Lines the trace did not write (a replay's notes,
// comments, blank lines) are passed over; a line that looks like a call and
// cannot be read is named in damaged.
TraceScript ReadTrace(const std::wstring &text);
// The same of a file, UTF-8 as Save... writes it; false with the system's
// error code when it cannot be read.
bool ReadTraceFile(const std::wstring &path, TraceScript &script, DWORD &error);
