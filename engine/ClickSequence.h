// The click sequence of the play loop: sight, glide, place, press, release, one step per timer.
#pragma once

#include <cstdint>

#include "engine/PixelBuffer.h"
#include "engine/UserActivity.h"

// Where a click sequence sends its effects; the window code implements it with SendInput and the
// sight window, tests with a recorder. Points are screen pixels.
class IClickOutput {
public:
    virtual ~IClickOutput() = default;
    // An absolute pointer move; the point may lie off the screen.
    virtual void MoveTo(Point pt) = 0;
    // Left button events where the last move left the pointer.
    virtual void ButtonDown() = 0;
    virtual void ButtonUp() = 0;
    virtual void ShowSight(Point pt) = 0;
    virtual void HideSight() = 0;
};

// The states keep their fixed numbers.
enum class ClickState : int32_t {
    Chosen = 1,       // point chosen; the next step shows the sight
    Gliding = 2,      // moving the pointer half-way to the point per step
    Placing = 9,      // the next step puts the pointer exactly on the point
    Pressing = 10,    // the next step presses the left button
    ButtonDown = 11,  // the next step releases it and ends the sequence
    Idle = 12,
};

class CClickSequence {
public:
    // Begins a click at ptClick (screen pixels, possibly off the screen), replacing any sequence
    // under way. The caller calls Step right away, then on every click-step timer.
    void Start(Point ptClick);

    // Advances by one state, given the cursor position read just before. Every move it sends also
    // becomes the guard's reference. The glide goes on while the cursor is 4 or more pixels from
    // the click point on both axes, to the midpoint ((X + c.x) / 2, (Y + c.y) / 2) truncated
    // toward zero; the step that finds it closer on either axis sends nothing. The step in
    // ButtonDown releases the button and ends the sequence as End does. Idle: nothing.
    void Step(Point ptCursor, IClickOutput& output, CUserActivityGuard& guard);

    // Finishes or aborts: releases the button if it is down, hides the sight (not in Metro mode)
    // and goes idle. Safe to call in any state.
    void End(IClickOutput& output);

    bool IsIdle() const { return m_state == ClickState::Idle; }
    // Start was called and End not yet (the same as not IsIdle).
    bool IsClicking() const { return !IsIdle(); }
    ClickState State() const { return m_state; }
    Point ClickPoint() const { return m_ptClick; }

    // In the tablet "Metro" mode the sight window is never shown or hidden.
    void SetMetroMode(bool bMetroMode) { m_bMetroMode = bMetroMode; }
    bool IsMetroMode() const { return m_bMetroMode; }

private:
    void Glide(Point ptCursor, IClickOutput& output, CUserActivityGuard& guard);

    ClickState m_state = ClickState::Idle;
    Point m_ptClick;
    bool m_bMetroMode = false;
};
