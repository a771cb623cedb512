// The overlay's selection rules and the cutting of its result pictures.
#include "capture/Selection.h"

#include <algorithm>
#include <cstring>

Rect NormaliseRect(const Rect& rc) {
    return Rect{std::min(rc.left, rc.right), std::min(rc.top, rc.bottom),
                std::max(rc.left, rc.right), std::max(rc.top, rc.bottom)};
}

Selection FinishSelection(const Rect& rcDragged) {
    Rect rc = NormaliseRect(rcDragged);
    const bool bFlatX = rc.left == rc.right;
    const bool bFlatY = rc.top == rc.bottom;
    if (bFlatX && bFlatY) {
        const Point release{rcDragged.right, rcDragged.bottom};
        constexpr int32_t kHalf = kClickSelectionSize / 2;
        rc = Rect{release.x - kHalf, release.y - kHalf, release.x + kHalf, release.y + kHalf};
    } else if (bFlatX) {
        rc.right = rc.left + 1;
    } else if (bFlatY) {
        rc.bottom = rc.top + 1;
    }
    const Point centre = CentreOf(rc);
    constexpr int32_t kHalfArea = kAreaSize / 2;
    return Selection{rc, Rect{centre.x - kHalfArea, centre.y - kHalfArea, centre.x + kHalfArea,
                              centre.y + kHalfArea}};
}

Point CentreOf(const Rect& rc) {
    // 64-bit sums: rectangles near the int32 limits must not overflow.
    return Point{static_cast<int32_t>((int64_t{rc.left} + rc.right) / 2),
                 static_cast<int32_t>((int64_t{rc.top} + rc.bottom) / 2)};
}

PixelBuffer CutPicture(const PixelBuffer& screen, const Rect& rc) {
    const int64_t width = int64_t{rc.right} - rc.left;
    const int64_t height = int64_t{rc.bottom} - rc.top;
    if (width <= 0 || height <= 0) {
        return PixelBuffer();
    }
    PixelBuffer picture(static_cast<int32_t>(width), static_cast<int32_t>(height));
    const int32_t left = std::max(rc.left, 0);
    const int32_t right = std::min(rc.right, screen.Width());
    const int32_t top = std::max(rc.top, 0);
    const int32_t bottom = std::min(rc.bottom, screen.Height());
    for (int32_t y = top; y < bottom && left < right; ++y) {
        std::memcpy(picture.Row(y - rc.top) + (left - rc.left), screen.Row(y) + left,
                    static_cast<size_t>(right - left) * 4);
    }
    return picture;
}

std::vector<Rect> MonitorPiecesOf(const Rect& rcPicture, const DesktopLayout& layout) {
    const Point origin{rcPicture.left, rcPicture.top};
    std::vector<Rect> pieces;
    for (const MonitorArea& monitor : layout.monitors) {
        const Rect& rc = monitor.rcMonitor;
        const Rect rcClipped{std::max(rc.left, rcPicture.left), std::max(rc.top, rcPicture.top),
                             std::min(rc.right, rcPicture.right),
                             std::min(rc.bottom, rcPicture.bottom)};
        if (rcClipped.left < rcClipped.right && rcClipped.top < rcClipped.bottom) {
            pieces.push_back(DesktopToImage(rcClipped, origin));
        }
    }
    return pieces;
}
