// The steps of the click sequence.
#include "engine/ClickSequence.h"

namespace {

// Closer than this on either axis, the glide stops and the pointer is placed directly.
constexpr int64_t kGlideStopDistance = 4;

// Sums and differences go through 64 bits: a click point far off the screen (a large click
// shift) must not overflow int32. The midpoint of two int32 values always fits again.
bool FarOnAxis(int32_t nCursor, int32_t nTarget) {
    const int64_t nDiff = int64_t{nCursor} - int64_t{nTarget};
    return nDiff >= kGlideStopDistance || nDiff <= -kGlideStopDistance;
}

int32_t Midpoint(int32_t nTarget, int32_t nCursor) {
    return static_cast<int32_t>((int64_t{nTarget} + int64_t{nCursor}) / 2);
}

}  // namespace

void CClickSequence::Start(Point ptClick) {
    m_ptClick = ptClick;
    m_state = ClickState::Chosen;
}

void CClickSequence::Step(Point ptCursor, IClickOutput& output, CUserActivityGuard& guard) {
    switch (m_state) {
        case ClickState::Chosen:
            if (!m_bMetroMode) {
                output.ShowSight(m_ptClick);
            }
            m_state = ClickState::Gliding;
            break;
        case ClickState::Gliding:
            Glide(ptCursor, output, guard);
            break;
        case ClickState::Placing:
            guard.SetReference(m_ptClick);
            output.MoveTo(m_ptClick);
            m_state = ClickState::Pressing;
            break;
        case ClickState::Pressing:
            output.ButtonDown();
            m_state = ClickState::ButtonDown;
            break;
        case ClickState::ButtonDown:
            output.ButtonUp();
            // Idle first, so End does not release the button a second time.
            m_state = ClickState::Idle;
            End(output);
            break;
        case ClickState::Idle:
            break;
    }
}

void CClickSequence::Glide(Point ptCursor, IClickOutput& output, CUserActivityGuard& guard) {
    if (!FarOnAxis(ptCursor.x, m_ptClick.x) || !FarOnAxis(ptCursor.y, m_ptClick.y)) {
        m_state = ClickState::Placing;
        return;
    }
    const Point ptMid{Midpoint(m_ptClick.x, ptCursor.x), Midpoint(m_ptClick.y, ptCursor.y)};
    guard.SetReference(ptMid);
    output.MoveTo(ptMid);
}

void CClickSequence::End(IClickOutput& output) {
    if (m_state == ClickState::ButtonDown) {
        output.ButtonUp();
    }
    if (!m_bMetroMode) {
        output.HideSight();
    }
    m_state = ClickState::Idle;
}
