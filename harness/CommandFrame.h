// The one frame every command handler of the harness runs in: the wait
// cursor for its whole run, the slot test, the parameter editor while Shift
// is held, the report, the state box and, on the way out, the key state
// reset, so that Shift opens the editor only for the click it was held for.
// Handlers give only what differs: the slots, the parameters, the call,
// which they make through the engine gateway (EngineCalls.h).
#pragma once

#include "EngineCalls.h"
#include "PanelHost.h"
#include "WaitCursor.h"

#include <initializer_list>

// One argument of an entry point as the parameter editor offers it.
struct Parameter {
    UINT label;
    int value;
};

class CCommandFrame {
public:
    explicit CCommandFrame(PanelHost &host) : m_host(host) {}
    ~CCommandFrame();
    CCommandFrame(const CCommandFrame &) = delete;
    CCommandFrame &operator=(const CCommandFrame &) = delete;

    // False after the "Function was not loaded" box. That ending comes before
    // the command's last step, so Shift stays as it was ...
    template <class... Fns>
    bool Loaded(Fns Entry::*...slots)
    {
        return (EngineCalls::Bound(slots) && ...) || NotLoaded(false);
    }
    // ... except in Print, Free, New and the page toggles, whose missing slot
    // ends them like any other way out.
    template <class... Fns>
    bool LoadedElseReset(Fns Entry::*...slots)
    {
        return (EngineCalls::Bound(slots) && ...) || NotLoaded(true);
    }
    // While Shift is held, lets the tester edit the values; false when the
    // editor was cancelled: the command then ends without calling the engine.
    bool EditParameters(const wchar_t *title, std::initializer_list<Parameter *> parameters);
    // The result reported; on 0 the state box gets its text.
    int Report(int result, int position = 0);
    int Report(int result, StateBox box, UINT stringId);

    // The other ways out that keep Shift as it was:
    // Version and Paper Catalog when the size query failed or gave 0.
    void NothingToFetch() { m_resetKeyState = false; }
    // A file dialog cancelled: the command stops before it began.
    void NothingChosen() { m_resetKeyState = false; }
    // Kel_Exit answered 22 or 23: the harness stays as it was, without a report.
    void ExitRefused() { m_resetKeyState = false; }

private:
    bool NotLoaded(bool resetKeyState);

    PanelHost &m_host;
    CWaitCursor m_wait;
    bool m_resetKeyState = true;
};
