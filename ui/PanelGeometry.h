// The panel's geometry rules: start-up placement, the list view's place and the tiles' visible
// height. Platform-free.
#pragma once

#include "engine/DesktopCoords.h"
#include "engine/DpiScale.h"
#include "engine/PixelBuffer.h"

// The sizes below are 96-DPI pixels; the panel scales them with its window's scale. Stored and
// desktop values are real pixels and never scaled.

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
// when missing; raw desktop pixels) and the monitors. Any value missing: 130 x 500 at `scale`,
// centred-ish on the primary monitor (the first listed when none is marked primary). Otherwise
// the stored height is kept in real pixels but is at least 200 at `scale`, and the panel is kept
// on a work area as KeepOnWorkArea does with its head. The width is always 130 at `scale`.
PanelPlacement ComputeStartupPlacement(int nMainTop, int nMainLeft, int nMainHeight,
                                       const DesktopLayout& layout,
                                       const CDpiScale& scale = CDpiScale());

// The stored start-up view mode as entered: 1 (fly window) and 2 (tray) are kept, anything else
// is 0 (the panel).
int StartupViewMode(int nStored);

// Height in which the tiles show, for a panel client height (real pixels) at `scale`.
int TileAreaHeight(int nClientHeight, const CDpiScale& scale = CDpiScale());

// The list view's place in the panel's client area (real pixels) for a client height at `scale`:
// (3, 103), 123 wide and (client height - 113) high, each scaled.
Rect ListViewRect(int nClientHeight, const CDpiScale& scale);
