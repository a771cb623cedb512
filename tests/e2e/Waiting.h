// Waiting for Tarvik to react: polling with a deadline that only guards against a hang.
#pragma once

#include <windows.h>

// One reaction of Tarvik to input (a box appearing, tiles moving). Generous, since the
// machines are shared and Wine is slow at times; a test never asserts how fast anything was.
inline constexpr DWORD kReactionTimeoutMs = 20000;
// Start-up and exit, which may read or write a large target list.
inline constexpr DWORD kStartTimeoutMs = 60000;

// Polls `condition` every `nPollMs` until it holds (true) or `nTimeoutMs` has passed (false).
template <class TCondition>
bool WaitUntil(TCondition&& condition, DWORD nTimeoutMs = kReactionTimeoutMs, DWORD nPollMs = 20) {
    const ULONGLONG deadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(nPollMs);
    }
}
