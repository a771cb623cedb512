// The play loop's decisions: Play on and off, the back-off, the black-out, the search and the
// click.
#include "engine/PlayController.h"

#include "engine/Locate.h"

void CPlayController::Start(Point ptPark, int64_t nNow, IClickOutput& output) {
    EndClick(output);
    output.MoveTo(ptPark);
    m_activityGuard.StartPlay(ptPark, nNow);
    m_bPlaying = true;
}

bool CPlayController::HoldsOffForUser(Point ptCursor, int64_t nNow, IClickOutput& output) {
    if (!m_activityGuard.IsUserActive(ptCursor, nNow)) {
        return false;
    }
    EndClick(output);
    return true;
}

std::vector<Rect> CPlayController::PlayBlackout(BlackoutInput windows) const {
    windows.mode = GrabMode::Play;
    return BlackoutRects(windows);
}

std::optional<TargetHit> CPlayController::ClickFirstFound(const CTargetObjList& list,
                                                          const DesktopImage& screen,
                                                          Point ptCursor, IClickOutput& output) {
    if (!WantsGrab()) {
        return std::nullopt;
    }
    m_targetSearch.Rebuild(list);
    const std::optional<TargetHit> found = m_targetSearch.FindFirst(screen.pixels);
    if (!found) {
        return std::nullopt;
    }
    const TargetHit hit = HitOnDesktop(*found, screen.origin);
    m_clickSequence.Start(hit.click);
    StepClick(ptCursor, output);
    return hit;
}

void CPlayController::StepClick(Point ptCursor, IClickOutput& output) {
    m_clickSequence.Step(ptCursor, output, m_activityGuard);
}

void CPlayController::EndClick(IClickOutput& output) {
    if (m_clickSequence.IsClicking()) {
        m_clickSequence.End(output);
    }
}
