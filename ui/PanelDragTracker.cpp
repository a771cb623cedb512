// The panel's move by its top strip and its resize by its bottom edge.
#include "ui/PanelDragTracker.h"

#include "ui/PanelGeometry.h"

#include <algorithm>

namespace {

constexpr int kMoveStripTop = 1;
constexpr int kMoveStripBottom = 29;
// The resize strip is the last pixels above the client's bottom, exclusive at both ends.
constexpr int kResizeStripHeight = 9;
// The pointer sits this far above the new bottom edge after a resize step.
constexpr int kPointerAboveBottom = 2;
// Spare pixels around the old and new bottom edge in the repainted band.
constexpr int kBandSpareInside = 9;
constexpr int kBandSpareOutside = 6;
// Where the pointer ends up inside the panel when a move leaves the panel.
constexpr Point kOutsideMoveOffset{5, 5};

bool IsInside(const Rect& rc, int x, int y) {
    return rc.left <= x && x < rc.right && rc.top <= y && y < rc.bottom;
}

}  // namespace

bool CPanelDragTracker::InMoveStrip(int y, const CDpiScale& scale) {
    // The strip's last row is the one before the 96-DPI row 30 begins, at any scale.
    return scale.Scale(kMoveStripTop) <= y && y < scale.Scale(kMoveStripBottom + 1);
}

bool CPanelDragTracker::InResizeStrip(int y, int nClientHeight, const CDpiScale& scale) {
    return nClientHeight - scale.Scale(kResizeStripHeight) < y && y < nClientHeight;
}

PanelMouseActions CPanelDragTracker::OnLeftButtonDown(const PanelMouseInput& input) {
    PanelMouseActions actions;
    if (InResizeStrip(input.y, input.nClientHeight, m_scale)) {
        actions.cursor = PanelCursor::SizeNS;
        m_bResizing = true;
    }
    if (InMoveStrip(input.y, m_scale)) {
        actions.cursor = PanelCursor::SizeNS;
        m_ptGrab = Point{input.x, input.y};
        m_bMoving = true;
    }
    return actions;
}

PanelMouseActions CPanelDragTracker::OnMouseMove(const PanelMouseInput& input) {
    PanelMouseActions actions;
    const int nClientHeight = input.nClientHeight;
    int y = input.y;

    // The last-resize y is taken here, before the resize step, so a step that starts a resize
    // repaints only the band around the pointer.
    if (input.bLeftDown && InResizeStrip(y, nClientHeight, m_scale)) {
        actions.bCapture = true;
        m_bResizing = true;
        m_nLastResizeY = y;
    }
    if (input.bLeftDown && InMoveStrip(y, m_scale)) {
        actions.bCapture = true;
        m_bMoving = true;
    }

    // The resize step; the pointer's y is raised so that the panel never gets below its
    // minimum height, and that raised y is used for the rest of the message.
    const int nAboveBottom = m_scale.Scale(kPointerAboveBottom);
    const int nMinHeight = m_scale.Scale(kPanelMinHeight);
    auto resizeStep = [&](int nSpare) {
        if (y + nAboveBottom < nMinHeight) {
            y = nMinHeight - nAboveBottom;
        }
        actions.nNewHeight = y + nAboveBottom;
        actions.nInvalidTop = std::min(m_nLastResizeY, y) - nSpare;
        actions.nInvalidBottom = std::max(m_nLastResizeY, y) + nSpare;
        m_nLastResizeY = y;
        actions.cursor = PanelCursor::SizeNS;
    };

    if (IsInside(input.rcWindowInClient, input.x, input.y)) {
        if (m_bResizing) {
            resizeStep(m_scale.Scale(kBandSpareInside));
        }
        if (m_bMoving) {
            actions.ptMoveOffset = m_ptGrab;
        }
    } else {
        // Only a captured mouse reports positions outside the panel.
        if (!input.bLeftDown) {
            actions.bReleaseCapture = true;
            m_bResizing = false;
        }
        if (input.bLeftDown && m_bResizing) {
            resizeStep(m_scale.Scale(kBandSpareOutside));
        }
        if (input.bLeftDown && m_bMoving) {
            actions.ptMoveOffset = m_scale.Scale(kOutsideMoveOffset);
        }
    }

    // Checked against the height before this step's resize: a resize goes on only while each
    // step ends inside the bottom strip.
    if (InResizeStrip(y, nClientHeight, m_scale)) {
        actions.cursor = PanelCursor::SizeNS;
        m_nLastResizeY = y;
    } else {
        actions.cursor = PanelCursor::Arrow;
        m_bResizing = false;
    }
    return actions;
}

PanelMouseActions CPanelDragTracker::OnLeftButtonUp() {
    m_bResizing = false;
    m_bMoving = false;
    PanelMouseActions actions;
    actions.bReleaseCapture = true;
    return actions;
}
