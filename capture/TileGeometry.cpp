// Geometry of the tile column: places, scrolling, slots, drop marker, thumb, hover and badge.
#include "capture/TileGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

bool Contains(const Rect& rc, Point pt) {
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

}  // namespace

TileMetrics TileMetricsAt(const CDpiScale& scale) {
    return TileMetrics{scale.Scale(kTileWidth), scale.Scale(kTileHeight), scale.Scale(kTileLeft),
                       scale.Scale(kTileBadgeRect)};
}

int TileContentHeight(std::size_t nTargets, const CDpiScale& scale) {
    return ClampToInt32(static_cast<int64_t>(nTargets) * scale.Scale(kTileSlotHeight) +
                        scale.Scale(kTileMargin));
}

int TileTop(int nSlot, int nScrollPos, const CDpiScale& scale) {
    // The slot is a target's stored order number, any int32 a file holds.
    return ClampToInt32(int64_t{nSlot} * scale.Scale(kTileSlotHeight) + nScrollPos +
                        scale.Scale(kTileMargin));
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

int WheelScrollStep(int nWheelDelta, const CDpiScale& scale) {
    return scale.Scale(nWheelDelta / 4);
}

int SlotFromColumnY(int nColumnY, int nTargets, const CDpiScale& scale) {
    const double dSlot = std::floor(static_cast<double>(nColumnY - scale.Scale(kTileMargin)) /
                                        scale.Scale(kTileSlotHeight) +
                                    0.5);
    const double dClamped = std::clamp(dSlot, 0.0, static_cast<double>(std::max(nTargets, 0)));
    return static_cast<int>(dClamped);
}

int DropMarkerCentreY(int nScrollPos, int nSlot, const CDpiScale& scale) {
    return nScrollPos + nSlot * scale.Scale(kTileSlotHeight) + scale.Scale(kTileMargin) / 2;
}

Rect DropMarkerStrip(int nCentreY, int nClientWidth, const CDpiScale& scale) {
    // Exactly the gap between two tiles: scaled halves of it could reach into a tile.
    const int nGap = scale.Scale(kTileMargin);
    const int nTop = nCentreY - nGap / 2;
    return Rect{0, nTop, nClientWidth - scale.Scale(kScrollTrackWidth), nTop + nGap};
}

Rect DropMarkerLine(int nCentreY, int nClientWidth, const CDpiScale& scale) {
    const int nTop = nCentreY - scale.Scale(1);
    return Rect{0, nTop, nClientWidth - scale.Scale(kScrollTrackWidth), nTop + scale.Scale(2)};
}

ColumnPaint ColumnPaintOf(int nClientWidth, int nViewHeight, const CDpiScale& scale) {
    const int nLine = scale.Scale(1);
    const int nTrackLeft = nClientWidth - scale.Scale(kScrollTrackWidth);
    ColumnPaint paint;
    paint.rcColumn = Rect{0, 0, nClientWidth, nViewHeight};
    paint.rcTrack = Rect{nTrackLeft, 0, nClientWidth, nViewHeight};
    paint.rcEdges[0] = Rect{0, 0, nLine, nViewHeight};
    paint.rcEdges[1] = Rect{nTrackLeft, 0, nTrackLeft + nLine, nViewHeight};
    paint.rcEdges[2] = Rect{nClientWidth - nLine, 0, nClientWidth, nViewHeight};
    return paint;
}

ScrollThumb ScrollThumbOf(int nClientWidth, int nViewHeight, int nContentHeight, int nScrollPos,
                          const CDpiScale& scale) {
    ScrollThumb thumb;
    if (nContentHeight <= nViewHeight || nContentHeight <= 0) {
        return thumb;
    }
    // 64-bit products: a long list in a tall view must not overflow.
    const int64_t nHeight = nViewHeight;
    thumb.bShown = true;
    thumb.nLength = static_cast<int>(nHeight * nHeight / nContentHeight);
    thumb.nOffset = static_cast<int>(-(int64_t{nScrollPos} * nHeight / nContentHeight));
    // Inside the track's edge lines; the light bar shows one line above and below the dark one.
    const int nLine = scale.Scale(1);
    const int nLeft = nClientWidth - scale.Scale(kScrollTrackWidth) + nLine;
    const int nRight = nClientWidth - nLine;
    thumb.rcLight = Rect{nLeft, thumb.nOffset, nRight, thumb.nOffset + thumb.nLength + 2 * nLine};
    thumb.rcDark =
        Rect{nLeft, thumb.nOffset + nLine, nRight, thumb.nOffset + nLine + thumb.nLength};
    return thumb;
}

Rect VisibleTileRect(const Rect& rcTile, const Rect& rcView) {
    const Rect rc{std::max(rcTile.left, rcView.left), std::max(rcTile.top, rcView.top),
                  std::min(rcTile.right, rcView.right), std::min(rcTile.bottom, rcView.bottom)};
    return rc.right > rc.left && rc.bottom > rc.top ? rc : Rect{};
}

bool IsPointerOverTile(Point pt, const Rect& rcVisible, int nMainBottom, const CDpiScale& scale) {
    return Contains(rcVisible, pt) && nMainBottom - pt.y >= scale.Scale(kTileHoverBottomMargin);
}

bool IsOnTileBadge(Point pt, const Rect& rcVisible, const CDpiScale& scale) {
    return Contains(scale.Scale(kTileBadgeRect), pt) && Contains(rcVisible, pt);
}
