// Rectangle differences for the overlay's incremental repaint during a drag.
#include "capture/DragRepaint.h"

#include <algorithm>
#include <cstring>

namespace {

void AddPiece(RectPieces& pieces, const Rect& rc) {
    if (!IsEmptyRect(rc)) {
        pieces.rects[static_cast<size_t>(pieces.nCount++)] = rc;
    }
}

}  // namespace

bool IsEmptyRect(const Rect& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

Rect IntersectRects(const Rect& a, const Rect& b) {
    const Rect rc{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
    return IsEmptyRect(rc) ? Rect{} : rc;
}

Rect BoundingRect(const Rect& a, const Rect& b) {
    if (IsEmptyRect(a)) {
        return IsEmptyRect(b) ? Rect{} : b;
    }
    if (IsEmptyRect(b)) {
        return a;
    }
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RectPieces SubtractRect(const Rect& a, const Rect& b) {
    RectPieces pieces;
    if (IsEmptyRect(a)) {
        return pieces;
    }
    const Rect common = IntersectRects(a, b);
    if (IsEmptyRect(common)) {
        AddPiece(pieces, a);
        return pieces;
    }
    AddPiece(pieces, Rect{a.left, a.top, a.right, common.top});
    AddPiece(pieces, Rect{a.left, common.bottom, a.right, a.bottom});
    AddPiece(pieces, Rect{a.left, common.top, common.left, common.bottom});
    AddPiece(pieces, Rect{common.right, common.top, a.right, common.bottom});
    return pieces;
}

DragRepaint PlanDragRepaint(const Rect& rcOld, const Rect& rcNew, int32_t width, int32_t height) {
    const Rect rcScreen{0, 0, width, height};
    const Rect rcOldOnScreen = IntersectRects(rcOld, rcScreen);
    const Rect rcNewOnScreen = IntersectRects(rcNew, rcScreen);
    DragRepaint plan;
    plan.restoreDimmed = SubtractRect(rcOldOnScreen, rcNewOnScreen);
    plan.copyBright = SubtractRect(rcNewOnScreen, rcOldOnScreen);
    if (plan.restoreDimmed.nCount + plan.copyBright.nCount > 0) {
        plan.rcInvalidate = BoundingRect(rcOldOnScreen, rcNewOnScreen);
    }
    return plan;
}

void CopyBlock(PixelBuffer& to, const PixelBuffer& from, const Rect& rc) {
    const Rect rcClipped = IntersectRects(
        rc, Rect{0, 0, std::min(to.Width(), from.Width()), std::min(to.Height(), from.Height())});
    if (IsEmptyRect(rcClipped)) {
        return;
    }
    const size_t nRowBytes = static_cast<size_t>(rcClipped.right - rcClipped.left) * 4;
    for (int32_t y = rcClipped.top; y < rcClipped.bottom; ++y) {
        std::memcpy(to.Row(y) + rcClipped.left, from.Row(y) + rcClipped.left, nRowBytes);
    }
}

void ApplyDragRepaint(PixelBuffer& frame, const PixelBuffer& dimmed, const PixelBuffer& bright,
                      const DragRepaint& plan) {
    for (const Rect& rc : plan.restoreDimmed.Span()) {
        CopyBlock(frame, dimmed, rc);
    }
    for (const Rect& rc : plan.copyBright.Span()) {
        CopyBlock(frame, bright, rc);
    }
}

PixelBuffer ComposeDragFrame(const PixelBuffer& dimmed, const PixelBuffer& bright, const Rect& rc) {
    PixelBuffer frame = dimmed;
    CopyBlock(frame, bright, rc);
    return frame;
}
