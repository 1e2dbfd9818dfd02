// Makes the calls of a saved trace again, in order, through the traced engine
// gateway, into the current trace: the library's load and free and every
// entry point, with the arguments as recorded where they still mean the same
// and mapped where they only meant something in that run (the harness's
// window, handles earlier calls gave back, the hooks). Each result is compared
// with the recorded one; a note marks every difference and every line that
// could not be replayed, and a summary ends the replay. No box is shown.
#pragma once

#include "TraceReader.h"

#include <windows.h>

#include <cstddef>
#include <string>

// What a replay tells its caller as it goes.
class ReplayWatcher {
public:
    // After each call made, with the line it replayed and the result now,
    // before the messages that came meanwhile are processed.
    virtual void Replayed(const TraceLine &line, int result) = 0;

protected:
    ~ReplayWatcher() = default;
};

struct ReplaySummary {
    std::size_t replayed = 0;
    std::size_t differing = 0;
    std::size_t notReplayed = 0;
    bool ended = false; // WM_QUIT came: the program is closing, the rest was left
};

// True when the script holds a call a replay would make.
bool HasCallsToReplay(const TraceScript &script);

// window: the one the replaying program gives the engine, in the place of the
// harness's window of the recorded run.
ReplaySummary Replay(const TraceScript &script, const std::wstring &source, HWND window, ReplayWatcher &watcher);
