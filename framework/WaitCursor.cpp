#include "WaitCursor.h"

namespace {
thread_local int t_waitCount = 0;
}

CWaitCursor::CWaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) { ++t_waitCount; }

CWaitCursor::~CWaitCursor()
{
    if (--t_waitCount == 0)
        ::SetCursor(m_previous ? m_previous : ::LoadCursorW(nullptr, IDC_ARROW));
}

bool CWaitCursor::Active() { return t_waitCount > 0; }
