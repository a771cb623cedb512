// The panel's geometry rules: start-up placement, tile slots and scrolling.
#include "ui/PanelGeometry.h"

#include <algorithm>
#include <cstdint>

namespace {

// At least this much of a stored panel stays on screen.
constexpr int kOnScreenWidth = kPanelWidth;
constexpr int kOnScreenHeight = 100;

Rect PanelRect(int x, int y, int nHeight) {
    return Rect{x, y, x + kPanelWidth, y + nHeight};
}

}  // namespace

PanelPlacement ComputeStartupPlacement(int nMainTop, int nMainLeft, int nMainHeight, int cxScreen,
                                       int cyScreen) {
    PanelPlacement placement;
    if (nMainTop == kMissingSetting || nMainLeft == kMissingSetting ||
        nMainHeight == kMissingSetting) {
        placement.rcPanel = PanelRect(cxScreen / 2 - kPanelWidth / 2,
                                      cyScreen / 2 - kPanelDefaultHeight / 2, kPanelDefaultHeight);
        return placement;
    }
    int x = std::max(0, nMainLeft);
    if (x + kOnScreenWidth > cxScreen) {
        x = cxScreen - kOnScreenWidth;
    }
    int y = std::max(0, nMainTop);
    if (y + kOnScreenHeight > cyScreen) {
        y = cyScreen - kOnScreenHeight;
    }
    placement.rcPanel = PanelRect(x, y, std::max(nMainHeight, kPanelMinHeight));
    placement.bMoveFlyWindow = true;
    return placement;
}

int StartupViewMode(int nStored) {
    return nStored == 1 || nStored == 2 ? nStored : 0;
}

int TileContentHeight(std::size_t nTargets) {
    return static_cast<int>(nTargets) * kTileSlotHeight + kTileMargin;
}

int TileTop(int nSlot, int nScrollPos) {
    // The slot is a target's stored order number, any int32 a file holds.
    return ClampToInt32(int64_t{nSlot} * kTileSlotHeight + nScrollPos + kTileMargin);
}

int ClampScrollPos(int nScrollPos, int nContentHeight, int nVisibleHeight) {
    if (nScrollPos + nContentHeight < nVisibleHeight) {
        nScrollPos = nVisibleHeight - nContentHeight;
    }
    // Applied last so that a column shorter than the visible height starts at the top.
    if (nScrollPos > 0) {
        nScrollPos = 0;
    }
    return nScrollPos;
}

int TileAreaHeight(int nClientHeight) {
    return nClientHeight - kTileAreaHeightMargin;
}

int WheelScrollStep(int nWheelDelta) {
    return nWheelDelta / 4;
}
