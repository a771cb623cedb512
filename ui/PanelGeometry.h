// The panel's geometry rules: start-up placement, tile slots and scrolling. Platform-free.
#pragma once

#include "engine/DesktopCoords.h"
#include "engine/PixelBuffer.h"

#include <cstddef>

// Every size the program gives the panel is this wide.
inline constexpr int kPanelWidth = 130;
inline constexpr int kPanelDefaultHeight = 500;
inline constexpr int kPanelMinHeight = 200;
// A stored window value that is missing or unreadable reads as this.
inline constexpr int kMissingSetting = -5000;

// Tiles: 102 x 64 at x = 6, one slot every 70 pixels, 6 pixels of margin above the first.
inline constexpr int kTileWidth = 102;
inline constexpr int kTileHeight = 64;
inline constexpr int kTileLeft = 6;
inline constexpr int kTileMargin = 6;
inline constexpr int kTileSlotHeight = 70;

// The list view sits at (3, 103), 123 wide and (client height - 113) high.
inline constexpr int kListViewLeft = 3;
inline constexpr int kListViewTop = 103;
inline constexpr int kListViewWidth = 123;
inline constexpr int kListViewHeightMargin = 113;
// Tiles are visible in the client height minus this.
inline constexpr int kTileAreaHeightMargin = 112;

// The panel's head: its title strip and command buttons, the part the user drags and needs. This
// much of the panel's height is kept on a monitor's work area.
inline constexpr int kPanelHeadHeight = 100;

struct PanelPlacement {
    // Desktop rectangle of the panel.
    Rect rcPanel;
    // The fly window goes to the panel's top-left corner (size kept) only when the stored
    // values placed the panel.
    bool bMoveFlyWindow = false;
};

// Where a window whose desktop rectangle is `rcWindow` belongs on `layout`. Its head is the top
// `nHeadHeight` pixels of its full width. When the work areas together hold the whole head
// (it may straddle two monitors), the window stays where it is. Otherwise it moves, size kept,
// onto the work area nearest to `rcWindow` (smallest gap; then the larger overlap; then the first
// listed) just far enough for its head to lie inside that area; a head wider or taller than the
// area keeps the area's left or top edge. A layout without monitors keeps the window as it is.
Rect KeepOnWorkArea(const Rect& rcWindow, int nHeadHeight, const DesktopLayout& layout);

// Where the panel starts, from the stored "MainTop", "MainLeft" and "MainHaight" (kMissingSetting
// when missing; raw desktop pixels) and the monitors. Any value missing: 130 x 500, centred-ish
// on the primary monitor (the first listed when none is marked primary). Otherwise the height is
// at least 200 and the panel is kept on a work area as KeepOnWorkArea does with its head.
PanelPlacement ComputeStartupPlacement(int nMainTop, int nMainLeft, int nMainHeight,
                                       const DesktopLayout& layout);

// The stored start-up view mode as entered: 1 (fly window) and 2 (tray) are kept, anything else
// is 0 (the panel).
int StartupViewMode(int nStored);

// Height of the tile column of `nTargets` tiles: n x 70 + 6.
int TileContentHeight(std::size_t nTargets);
// Top of the tile in slot `nSlot` in list-view coordinates: slot x 70 + scroll + 6, held within
// int32 (far off the view) for a slot beyond any list.
int TileTop(int nSlot, int nScrollPos);
// The scroll offset after a layout: never below (visible - content) and never above 0, so a
// column shorter than the visible height always starts at the top.
int ClampScrollPos(int nScrollPos, int nContentHeight, int nVisibleHeight);
// Height in which the tiles show, for a panel client height.
int TileAreaHeight(int nClientHeight);
// The scroll change of a WM_MOUSEWHEEL delta: delta / 4, truncated toward zero (one notch of
// 120 is 30 pixels; turning forward moves the tiles down).
int WheelScrollStep(int nWheelDelta);
