// The panel's geometry rules: start-up placement and the tiles' visible height.
#include "ui/PanelGeometry.h"

#include <algorithm>

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

int TileAreaHeight(int nClientHeight) {
    return nClientHeight - kTileAreaHeightMargin;
}
