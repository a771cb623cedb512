// Real pointer and key input with SendInput, as a person gives it: the pointer travels in small
// steps, so windows see the WM_MOUSEMOVE sequence of a drag. Every record is followed by the wait
// until the programs on the desktop have taken it (tests/e2e/InputTaken.h), so a record never
// overtakes the one before it, however slow the machine is.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

// One absolute move to the desktop point `pt` (on any monitor); true when the pointer is at `pt`
// afterwards and stays there once every program has taken the move.
bool MovePointer(POINT pt);
// Moves from the pointer's position to `pt` in steps of at most `nStepPx` pixels with a short
// pause after each; `afterStep`, if given, runs after every step with the pointer's new place
// (a drag waits there until the window has followed). True when the pointer arrived.
bool GlidePointer(POINT pt, int nStepPx = 4);
template <class TAfterStep>
bool GlidePointer(POINT pt, int nStepPx, TAfterStep&& afterStep);

void PressLeftButton();
void ReleaseLeftButton();
// The left button pressed or released with the pointer put at `pt` in the same record.
void PressLeftButtonAt(POINT pt);
void ReleaseLeftButtonAt(POINT pt);
void PressRightButton();
void ReleaseRightButton();
// Glides to `pt` and clicks the left button there.
bool ClickAt(POINT pt);
// One wheel movement of `nDelta` (120 is one notch forward, away from the user).
void TurnWheel(int nDelta);

void PressKey(WORD nVirtualKey);
void ReleaseKey(WORD nVirtualKey);
void TapKey(WORD nVirtualKey);
// Types `strText` with the keys (and Shift) that produce each character on the current keyboard
// layout; characters without a key are sent as Unicode key input.
void TypeText(const std::wstring& strText);

// Holds the left button down from construction to destruction, so a failed check in the middle
// of a drag never leaves the button pressed for the next test.
class CLeftButtonHeld {
public:
    CLeftButtonHeld() { PressLeftButton(); }
    ~CLeftButtonHeld() { ReleaseLeftButton(); }
    CLeftButtonHeld(const CLeftButtonHeld&) = delete;
    CLeftButtonHeld& operator=(const CLeftButtonHeld&) = delete;
};

// Holds a key down for a scope (Shift for a selection).
class CKeyHeld {
public:
    explicit CKeyHeld(WORD nVirtualKey) : m_nVirtualKey(nVirtualKey) { PressKey(nVirtualKey); }
    ~CKeyHeld() { ReleaseKey(m_nVirtualKey); }
    CKeyHeld(const CKeyHeld&) = delete;
    CKeyHeld& operator=(const CKeyHeld&) = delete;

private:
    WORD m_nVirtualKey;
};

// A hand's pace: the pause after each step of a glide, so a window sees the pointer travel over
// time instead of jumping. Correctness never rests on it: each step has been taken already.
inline constexpr DWORD kInputStepPauseMs = 8;

template <class TAfterStep>
bool GlidePointer(POINT pt, int nStepPx, TAfterStep&& afterStep) {
    POINT now{};
    GetCursorPos(&now);
    for (;;) {
        const LONG dx = pt.x - now.x;
        const LONG dy = pt.y - now.y;
        const LONG nDistance = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
        if (nDistance == 0) {
            return true;
        }
        const LONG nSteps = (nDistance + nStepPx - 1) / nStepPx;
        const POINT next{now.x + dx / nSteps, now.y + dy / nSteps};
        if (!MovePointer(next)) {
            return false;
        }
        Sleep(kInputStepPauseMs);
        afterStep(next);
        now = next;
    }
}
