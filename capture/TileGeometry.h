// Geometry of the tile column: tile places, scrolling, insertion points of a drag, the drop
// marker, the scroll thumb, and the tile's hover and badge rules, at the display's scale.
// Platform-free.
#pragma once

#include "engine/DpiScale.h"
#include "engine/PixelBuffer.h"

#include <cstddef>

// The sizes below are 96-DPI pixels; every function takes the column's scale and answers in the
// display's pixels (the 96-DPI values unchanged at 96 DPI).

// Tiles: 102 x 64 at x = 6, one slot every 70 pixels, 6 pixels of margin above the first.
inline constexpr int kTileWidth = 102;
inline constexpr int kTileHeight = 64;
inline constexpr int kTileLeft = 6;
inline constexpr int kTileMargin = 6;
inline constexpr int kTileSlotHeight = 70;

// The scroll track is the rightmost strip of the list view.
inline constexpr int kScrollTrackWidth = 10;
// The hover badge of a tile: 16 x 16 at (79, 5).
inline constexpr Rect kTileBadgeRect{79, 5, 95, 21};
// A pointer closer than this to the panel's bottom edge is not over a tile: the panel's own
// resize strip lies there.
inline constexpr int kTileHoverBottomMargin = 14;

// A tile's size, its place across the column and its badge at one scale.
struct TileMetrics {
    int nWidth;
    int nHeight;
    int nLeft;
    Rect rcBadge;
};
TileMetrics TileMetricsAt(const CDpiScale& scale);

// Height of the tile column of `nTargets` tiles: n x 70 + 6, held within int32.
int TileContentHeight(std::size_t nTargets, const CDpiScale& scale = CDpiScale());
// Top of the tile in slot `nSlot` in list-view coordinates: slot x 70 + scroll + 6, held within
// int32 (far off the view) for a slot beyond any list.
int TileTop(int nSlot, int nScrollPos, const CDpiScale& scale = CDpiScale());
// The scroll offset after a layout: never below (visible - content) and never above 0, so a
// column shorter than the visible height always starts at the top.
int ClampScrollPos(int nScrollPos, int nContentHeight, int nVisibleHeight);
// The scroll change of a WM_MOUSEWHEEL delta: delta / 4, truncated toward zero, then scaled (one
// notch of 120 is 30 pixels at 96 DPI; turning forward moves the tiles down).
int WheelScrollStep(int nWheelDelta, const CDpiScale& scale = CDpiScale());

// The insertion point for a pointer at `nColumnY`, the y in the tile column without the scroll
// offset: floor((y - 6) / 70 + 0.5) clamped to 0 ... nTargets, so the upper half of the tile of
// order k gives k and its lower half (from its middle row on) k + 1.
int SlotFromColumnY(int nColumnY, int nTargets, const CDpiScale& scale = CDpiScale());

// The y of the drop marker's centre for insertion point `nSlot`: the middle of the 6-pixel gap
// above the tile of that order.
int DropMarkerCentreY(int nScrollPos, int nSlot, const CDpiScale& scale = CDpiScale());
// The rectangle the drop marker invalidates: the 6-pixel gap around `nCentreY`, across the view
// but for its scroll track.
Rect DropMarkerStrip(int nCentreY, int nClientWidth, const CDpiScale& scale = CDpiScale());
// The 2-pixel black line drawn for the marker, from one pixel above the centre.
Rect DropMarkerLine(int nCentreY, int nClientWidth, const CDpiScale& scale = CDpiScale());

// The passive scroll indicator's thumb in a view `nClientWidth` x `nViewHeight`.
struct ScrollThumb {
    bool bShown = false;  // only when the tiles do not all fit
    int nOffset = 0;      // top of the light edge
    int nLength = 0;      // rows of the dark bar
    Rect rcLight;         // the light bar, one row longer than the dark one above and below
    Rect rcDark;
};
// Length = H * H / content, offset = -(scroll * H / content), both truncated toward zero; the
// light edges are one (scaled) line each.
ScrollThumb ScrollThumbOf(int nClientWidth, int nViewHeight, int nContentHeight, int nScrollPos,
                          const CDpiScale& scale = CDpiScale());

// The column's background in a view `nClientWidth` x `nViewHeight`: the light column and the
// track, each with an edge line at its left and the view's right edge.
struct ColumnPaint {
    Rect rcColumn;    // the whole view
    Rect rcTrack;     // the scroll track
    Rect rcEdges[3];  // the column's left edge, the track's left edge, the view's right edge
};
ColumnPaint ColumnPaintOf(int nClientWidth, int nViewHeight, const CDpiScale& scale);

// The part of a tile that shows: `rcTile` (its client rectangle) clipped to `rcView`, the list
// view's client area in the tile's client coordinates. A tile scrolled partly out of the view
// lies there under the panel's buttons, which must keep their clicks. Empty when none shows.
Rect VisibleTileRect(const Rect& rcTile, const Rect& rcView);
// Whether a pointer at client point `pt` of a tile counts as over it: inside `rcVisible` (see
// VisibleTileRect) and at least 14 pixels above `nMainBottom`, the panel's bottom edge in the
// tile's client coordinates.
bool IsPointerOverTile(Point pt, const Rect& rcVisible, int nMainBottom,
                       const CDpiScale& scale = CDpiScale());
// Whether a tile's client point lies on the hover badge (right and bottom exclusive) where the
// badge shows, inside `rcVisible`.
bool IsOnTileBadge(Point pt, const Rect& rcVisible, const CDpiScale& scale = CDpiScale());
