// The panel's geometry rules: start-up placement and the tiles' visible height.
#include "ui/PanelGeometry.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Stored places beyond this are far off any desktop; holding them here keeps the arithmetic
// below within int32 whatever a registry value says.
constexpr int kFarOff = 1 << 30;

// The pieces of `rc` that lie outside `cut` (at most four), appended to `pieces`.
void AppendOutside(const Rect& rc, const Rect& cut, std::vector<Rect>& pieces) {
    const Rect inner{std::max(rc.left, cut.left), std::max(rc.top, cut.top),
                     std::min(rc.right, cut.right), std::min(rc.bottom, cut.bottom)};
    if (inner.left >= inner.right || inner.top >= inner.bottom) {
        pieces.push_back(rc);
        return;
    }
    const Rect candidates[] = {
        {rc.left, rc.top, rc.right, inner.top},
        {rc.left, inner.bottom, rc.right, rc.bottom},
        {rc.left, inner.top, inner.left, inner.bottom},
        {inner.right, inner.top, rc.right, inner.bottom},
    };
    for (const Rect& piece : candidates) {
        if (piece.left < piece.right && piece.top < piece.bottom) {
            pieces.push_back(piece);
        }
    }
}

// Whether the work areas together hold every pixel of `rc`; monitors may overlap (mirrors).
bool IsCoveredByWorkAreas(const Rect& rc, const DesktopLayout& layout) {
    std::vector<Rect> uncovered{rc};
    for (const MonitorArea& monitor : layout.monitors) {
        std::vector<Rect> rest;
        for (const Rect& piece : uncovered) {
            AppendOutside(piece, monitor.rcWork, rest);
        }
        uncovered = std::move(rest);
    }
    return uncovered.empty();
}

// The gap between two rectangles along one axis; 0 when they overlap there.
int64_t Gap(int32_t nLow1, int32_t nHigh1, int32_t nLow2, int32_t nHigh2) {
    return std::max<int64_t>({0, int64_t{nLow1} - nHigh2, int64_t{nLow2} - nHigh1});
}

int64_t Overlap(int32_t nLow1, int32_t nHigh1, int32_t nLow2, int32_t nHigh2) {
    return std::max<int64_t>(0, int64_t{std::min(nHigh1, nHigh2)} - std::max(nLow1, nLow2));
}

const MonitorArea* NearestMonitor(const Rect& rc, const DesktopLayout& layout) {
    const MonitorArea* pBest = nullptr;
    double dBestDistance = 0;
    int64_t nBestOverlap = 0;
    for (const MonitorArea& monitor : layout.monitors) {
        const Rect& wa = monitor.rcWork;
        const auto dx = static_cast<double>(Gap(rc.left, rc.right, wa.left, wa.right));
        const auto dy = static_cast<double>(Gap(rc.top, rc.bottom, wa.top, wa.bottom));
        const double dDistance = dx * dx + dy * dy;
        const int64_t nOverlap = Overlap(rc.left, rc.right, wa.left, wa.right) *
                                 Overlap(rc.top, rc.bottom, wa.top, wa.bottom);
        if (pBest == nullptr || dDistance < dBestDistance ||
            (dDistance == dBestDistance && nOverlap > nBestOverlap)) {
            pBest = &monitor;
            dBestDistance = dDistance;
            nBestOverlap = nOverlap;
        }
    }
    return pBest;
}

// The position that puts [nPos, nPos + nSize) inside [nLow, nHigh), moving it as little as
// possible; nLow when it does not fit.
int32_t PullInside(int32_t nPos, int64_t nSize, int32_t nLow, int32_t nHigh) {
    return static_cast<int32_t>(std::max<int64_t>(nLow, std::min<int64_t>(nPos, nHigh - nSize)));
}

const MonitorArea* PrimaryMonitor(const DesktopLayout& layout) {
    for (const MonitorArea& monitor : layout.monitors) {
        if (monitor.bPrimary) {
            return &monitor;
        }
    }
    return layout.monitors.empty() ? nullptr : &layout.monitors.front();
}

Rect PanelRect(int x, int y, int nWidth, int nHeight) {
    return Rect{x, y, ClampToInt32(int64_t{x} + nWidth), ClampToInt32(int64_t{y} + nHeight)};
}

}  // namespace

Rect KeepOnWorkArea(const Rect& rcWindow, int nHeadHeight, const DesktopLayout& layout) {
    const int64_t nHeight = int64_t{rcWindow.bottom} - rcWindow.top;
    const int64_t nHead = std::clamp<int64_t>(nHeadHeight, 0, nHeight);
    const Rect rcHead{rcWindow.left, rcWindow.top, rcWindow.right,
                      static_cast<int32_t>(rcWindow.top + nHead)};
    const MonitorArea* pMonitor = NearestMonitor(rcWindow, layout);
    if (pMonitor == nullptr || IsCoveredByWorkAreas(rcHead, layout)) {
        return rcWindow;
    }
    const Rect& wa = pMonitor->rcWork;
    const int64_t nWidth = int64_t{rcWindow.right} - rcWindow.left;
    const int32_t x = PullInside(rcWindow.left, nWidth, wa.left, wa.right);
    const int32_t y = PullInside(rcWindow.top, nHead, wa.top, wa.bottom);
    return Rect{x, y, ClampToInt32(x + nWidth), ClampToInt32(y + nHeight)};
}

PanelPlacement ComputeStartupPlacement(int nMainTop, int nMainLeft, int nMainHeight,
                                       const DesktopLayout& layout, const CDpiScale& scale) {
    PanelPlacement placement;
    const int nWidth = scale.Scale(kPanelWidth);
    const int nDefaultHeight = scale.Scale(kPanelDefaultHeight);
    if (nMainTop == kMissingSetting || nMainLeft == kMissingSetting ||
        nMainHeight == kMissingSetting) {
        const MonitorArea* pPrimary = PrimaryMonitor(layout);
        const Rect rcScreen = pPrimary != nullptr ? pPrimary->rcMonitor : Rect{};
        const Point centre{
            static_cast<int32_t>(rcScreen.left + (int64_t{rcScreen.right} - rcScreen.left) / 2),
            static_cast<int32_t>(rcScreen.top + (int64_t{rcScreen.bottom} - rcScreen.top) / 2)};
        placement.rcPanel =
            PanelRect(centre.x - nWidth / 2, centre.y - nDefaultHeight / 2, nWidth, nDefaultHeight);
        return placement;
    }
    const int nMinHeight = scale.Scale(kPanelMinHeight);
    const Rect rcStored =
        PanelRect(std::clamp(nMainLeft, -kFarOff, kFarOff), std::clamp(nMainTop, -kFarOff, kFarOff),
                  nWidth, std::clamp(nMainHeight, nMinHeight, std::max(nMinHeight, kFarOff)));
    placement.rcPanel = KeepOnWorkArea(rcStored, scale.Scale(kPanelHeadHeight), layout);
    placement.bMoveFlyWindow = true;
    return placement;
}

int StartupViewMode(int nStored) {
    return nStored == 1 || nStored == 2 ? nStored : 0;
}

int TileAreaHeight(int nClientHeight, const CDpiScale& scale) {
    return nClientHeight - scale.Scale(kTileAreaHeightMargin);
}

Rect ListViewRect(int nClientHeight, const CDpiScale& scale) {
    const int x = scale.Scale(kListViewLeft);
    const int y = scale.Scale(kListViewTop);
    return Rect{x, y, x + scale.Scale(kListViewWidth),
                y + nClientHeight - scale.Scale(kListViewHeightMargin)};
}
