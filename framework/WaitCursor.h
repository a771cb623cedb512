// CWaitCursor: the hourglass while a handler works without taking messages.
#pragma once

#include <windows.h>

// Shows the system's busy cursor for its lifetime and restores the cursor before it. Only for
// work that runs to its end inside one handler: a message taken meanwhile may set another cursor.
class CWaitCursor {
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;  // shared system cursor or borrowed: not ours to destroy
};
