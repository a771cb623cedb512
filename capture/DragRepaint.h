// The overlay's frame while a selection is dragged: what changes from one pointer move to the
// next, so that a move costs work in proportion to the selection, not to the screen.
#pragma once

#include "engine/PixelBuffer.h"

#include <array>
#include <span>

// Up to four disjoint, non-empty rectangles.
struct RectPieces {
    std::array<Rect, 4> rects{};
    int32_t nCount = 0;

    std::span<const Rect> Span() const { return {rects.data(), static_cast<size_t>(nCount)}; }
};

bool IsEmptyRect(const Rect& rc);
// The common part of two rectangles; an empty rectangle (0, 0, 0, 0) when they do not meet.
Rect IntersectRects(const Rect& a, const Rect& b);
// The smallest rectangle holding both; an empty one does not count.
Rect BoundingRect(const Rect& a, const Rect& b);
// The part of `a` outside `b`, as up to four rectangles: the bands above and below b, then the
// pieces left and right of it.
RectPieces SubtractRect(const Rect& a, const Rect& b);

// How to turn the frame of one selection into the frame of the next. The frame of a selection
// is the dimmed screen with the selection (clipped to the screen) copied from the bright screen.
struct DragRepaint {
    RectPieces restoreDimmed;  // copy from the dimmed screen: left by the old selection
    RectPieces copyBright;     // copy from the bright screen: newly inside the selection
    Rect rcInvalidate;         // holds every changed pixel; empty when nothing changed
};

// The steps from the frame of `rcOld` to the frame of `rcNew` (both normalised, screen pixels,
// right and bottom exclusive; an empty rectangle: no selection yet) on a `width` x `height`
// screen. The copies touch only pixels of the two selections.
DragRepaint PlanDragRepaint(const Rect& rcOld, const Rect& rcNew, int32_t width, int32_t height);

// Copies the pixels of `from` inside `rc` to the same place in `to`; rc is clipped to both, so
// buffers of different sizes share only the pixels both hold.
void CopyBlock(PixelBuffer& to, const PixelBuffer& from, const Rect& rc);
// Carries out `plan` on `frame`: the same steps the overlay takes with its bitmaps.
void ApplyDragRepaint(PixelBuffer& frame, const PixelBuffer& dimmed, const PixelBuffer& bright,
                      const DragRepaint& plan);
// The reference frame of selection `rc`: all of `dimmed`, then `rc` from `bright`.
PixelBuffer ComposeDragFrame(const PixelBuffer& dimmed, const PixelBuffer& bright, const Rect& rc);
