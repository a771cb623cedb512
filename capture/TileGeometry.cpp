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

int WheelScrollStep(int nWheelDelta) {
    return nWheelDelta / 4;
}

int SlotFromColumnY(int nColumnY, int nTargets) {
    const double dSlot =
        std::floor(static_cast<double>(nColumnY - kTileMargin) / kTileSlotHeight + 0.5);
    const double dClamped = std::clamp(dSlot, 0.0, static_cast<double>(std::max(nTargets, 0)));
    return static_cast<int>(dClamped);
}

int DropMarkerCentreY(int nScrollPos, int nSlot) {
    return nScrollPos + nSlot * kTileSlotHeight + kTileMargin / 2;
}

Rect DropMarkerStrip(int nCentreY, int nClientWidth) {
    return Rect{0, nCentreY - 3, nClientWidth - kScrollTrackWidth, nCentreY + 3};
}

Rect DropMarkerLine(int nCentreY, int nClientWidth) {
    return Rect{0, nCentreY - 1, nClientWidth - kScrollTrackWidth, nCentreY + 1};
}

ScrollThumb ScrollThumbOf(int nClientWidth, int nViewHeight, int nContentHeight, int nScrollPos) {
    ScrollThumb thumb;
    if (nContentHeight <= nViewHeight || nContentHeight <= 0) {
        return thumb;
    }
    // 64-bit products: a long list in a tall view must not overflow.
    const int64_t nHeight = nViewHeight;
    thumb.bShown = true;
    thumb.nLength = static_cast<int>(nHeight * nHeight / nContentHeight);
    thumb.nOffset = static_cast<int>(-(int64_t{nScrollPos} * nHeight / nContentHeight));
    const int nLeft = nClientWidth - kScrollTrackWidth + 1;
    thumb.rcLight = Rect{nLeft, thumb.nOffset, nClientWidth - 1, thumb.nOffset + thumb.nLength + 2};
    thumb.rcDark =
        Rect{nLeft, thumb.nOffset + 1, nClientWidth - 1, thumb.nOffset + 1 + thumb.nLength};
    return thumb;
}

Rect VisibleTileRect(const Rect& rcTile, const Rect& rcView) {
    const Rect rc{std::max(rcTile.left, rcView.left), std::max(rcTile.top, rcView.top),
                  std::min(rcTile.right, rcView.right), std::min(rcTile.bottom, rcView.bottom)};
    return rc.right > rc.left && rc.bottom > rc.top ? rc : Rect{};
}

bool IsPointerOverTile(Point pt, const Rect& rcVisible, int nMainBottom) {
    return Contains(rcVisible, pt) && nMainBottom - pt.y >= kTileHoverBottomMargin;
}

bool IsOnTileBadge(Point pt, const Rect& rcVisible) {
    return Contains(kTileBadgeRect, pt) && Contains(rcVisible, pt);
}
