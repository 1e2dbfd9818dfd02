// Shows the wait cursor for its lifetime, so it is restored on every way out
// of a handler, also when an exception passes through.
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor &) = delete;
    CWaitCursor &operator=(const CWaitCursor &) = delete;

    // True while any wait cursor of this thread lives; dialogs then keep
    // showing it when the mouse moves.
    static bool Active();

private:
    HCURSOR m_previous;
};
