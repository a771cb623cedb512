// The guard that holds the play loop back while the user is moving the mouse.
#pragma once

#include <cstdint>
#include <string>

#include "engine/PixelBuffer.h"

// What the last activity test saw, for the main dialog's hidden diagnostic labels.
struct ActivityDiagnostics {
    Point ptOld;            // the reference point before the test
    Point ptCur;            // the cursor it was compared with
    int32_t nDistance = 0;  // whole pixels between them, saturated to int32

    std::u16string OldText() const;       // "old: x=%d y=%d"
    std::u16string CurrentText() const;   // "cur: x=%d y=%d"
    std::u16string DistanceText() const;  // "distance=%d"
};

// Remembers where and when the pointer was last seen moved by the user. Times are whole seconds
// since 1970-01-01 UTC from whatever clock the caller reads.
class CUserActivityGuard {
public:
    // The pointer counts as moved at this straight-line distance from the reference, in pixels.
    static constexpr int32_t kMoveThreshold = 16;
    // The user counts as active for this many seconds after the last move.
    static constexpr int64_t kQuietSeconds = 4;

    // Starts with the reference at (0, 0) and time 0, so the first test sees a pointer that is
    // not near the top-left corner as moved.
    CUserActivityGuard() = default;

    // True when the user is using the mouse. A cursor 16 or more pixels (rounded down) from the
    // reference becomes the new reference, stamped nNow, and is active. Otherwise the result is
    // true while nNow is less than 4 seconds after the reference time, which includes a clock set
    // back before it. Small moves do not shift the reference, so they add up.
    bool IsUserActive(Point ptCursor, int64_t nNow);

    // Play was just switched on: the reference becomes ptCursor and its time lies 15 seconds
    // before nNow, so a test at once passes unless the pointer moves again.
    void StartPlay(Point ptCursor, int64_t nNow);

    // Moves the reference, time unchanged: the program's own synthetic moves call this with the
    // point they send so the pointer's new place is not taken for the user's.
    void SetReference(Point pt) { m_ptRef = pt; }

    Point Reference() const { return m_ptRef; }
    int64_t ReferenceTime() const { return m_tRefTime; }
    const ActivityDiagnostics& LastDiagnostics() const { return m_diagnostics; }

private:
    Point m_ptRef;
    int64_t m_tRefTime = 0;
    ActivityDiagnostics m_diagnostics;
};
