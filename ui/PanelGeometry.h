// The panel's geometry rules: start-up placement, the list view's place and the tiles' visible
// height. Platform-free.
#pragma once

#include "engine/PixelBuffer.h"

// Every size the program gives the panel is this wide.
inline constexpr int kPanelWidth = 130;
inline constexpr int kPanelDefaultHeight = 500;
inline constexpr int kPanelMinHeight = 200;
// A stored window value that is missing or unreadable reads as this.
inline constexpr int kMissingSetting = -5000;

// The list view sits at (3, 103), 123 wide and (client height - 113) high.
inline constexpr int kListViewLeft = 3;
inline constexpr int kListViewTop = 103;
inline constexpr int kListViewWidth = 123;
inline constexpr int kListViewHeightMargin = 113;
// Tiles are visible in the client height minus this.
inline constexpr int kTileAreaHeightMargin = 112;

struct PanelPlacement {
    // Screen rectangle of the panel.
    Rect rcPanel;
    // The fly window goes to the panel's top-left corner (size kept) only when the stored
    // values placed the panel.
    bool bMoveFlyWindow = false;
};

// Where the panel starts, from the stored "MainTop", "MainLeft" and "MainHaight" (kMissingSetting
// when missing) and the primary screen's size. Any value missing: centred-ish default,
// 130 x 500. Otherwise negative values become 0, a panel that would reach past the right or bottom
// edge is pulled back so that 130 x 100 pixels stay on screen, and the height is at least 200.
PanelPlacement ComputeStartupPlacement(int nMainTop, int nMainLeft, int nMainHeight, int cxScreen,
                                       int cyScreen);

// The stored start-up view mode as entered: 1 (fly window) and 2 (tray) are kept, anything else
// is 0 (the panel).
int StartupViewMode(int nStored);

// Height in which the tiles show, for a panel client height.
int TileAreaHeight(int nClientHeight);
