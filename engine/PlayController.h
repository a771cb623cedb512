// CPlayController: the play loop's decisions, free of the platform. The panel feeds it the
// cursor, the time, its windows' rectangles and the grabbed picture of the desktop, and carries
// out what it decides.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/ClickSequence.h"
#include "engine/DesktopCoords.h"
#include "engine/GrabBlackout.h"
#include "engine/TargetSearch.h"
#include "engine/UserActivity.h"
#include "model/TargetObjList.h"

// Owns whether Play is on, the click under way, the guard that backs off while the user moves
// the mouse, and the ordered search (its storage kept from tick to tick). Points are desktop
// pixels throughout.
class CPlayController {
public:
    // Whether Play is on: what the Play button shows.
    bool IsPlaying() const { return m_bPlaying; }

    // Play on: ends a click under way (so no button is left held or marker shown), parks the
    // pointer at `ptPark` and makes that place the guard's quiet reference, 15 seconds old, so
    // the next tick searches unless the pointer moves again.
    void Start(Point ptPark, int64_t nNow, IClickOutput& output);
    // Play off. A click under way finishes; the caller ends it first when it must not.
    void Stop() { m_bPlaying = false; }
    // Play on without parking or a quiet reference: Play pressed at start-up by the settings,
    // so the first tick searches only with the pointer near the guard's first reference (0, 0).
    void StartQuietly() { m_bPlaying = true; }

    // Every timer message asks first: true while the user is using the mouse (CUserActivityGuard
    // with `ptCursor` at `nNow`); a click under way is then ended at once.
    bool HoldsOffForUser(Point ptCursor, int64_t nNow, IClickOutput& output);

    // Whether this play tick grabs the desktop and searches: Play is on and no click is under
    // way (a tick during a click waits for it).
    bool WantsGrab() const { return m_bPlaying && m_clickSequence.IsIdle(); }

    // The desktop rectangles the play tick's grab blacks out, given the program's windows
    // (`windows.mode` is taken as Play).
    std::vector<Rect> PlayBlackout(BlackoutInput windows) const;

    // Searches `screen` for the first target of `list` in search order and, when one is found,
    // starts the click at its click point (desktop pixels, the picture's origin applied) and
    // takes the first step with the pointer at `ptCursor`. Returns the hit in desktop pixels;
    // nothing, and no click, when nothing is found or WantsGrab is false. The list is searched as
    // it is now: files are loaded and targets edited between ticks.
    std::optional<TargetHit> ClickFirstFound(const CTargetObjList& list, const DesktopImage& screen,
                                             Point ptCursor, IClickOutput& output);

    // One click step with the pointer at `ptCursor` (the click-step timer).
    void StepClick(Point ptCursor, IClickOutput& output);
    // Ends a click under way, releasing the button if it is down; nothing when idle.
    void EndClick(IClickOutput& output);

    // In the tablet "Metro" mode the click never shows or hides the marker.
    void SetMetroMode(bool bMetroMode) { m_clickSequence.SetMetroMode(bMetroMode); }

    const CClickSequence& ClickSequence() const { return m_clickSequence; }
    const CUserActivityGuard& ActivityGuard() const { return m_activityGuard; }

private:
    bool m_bPlaying = false;
    CClickSequence m_clickSequence;
    CUserActivityGuard m_activityGuard;
    CTargetSearch m_targetSearch;
};
