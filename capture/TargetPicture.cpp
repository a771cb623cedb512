// Composition of the target picture shown by the tiles and the Target Editor.
#include "capture/TargetPicture.h"

#include "capture/TileGeometry.h"
#include "model/TargetObj.h"

#include <algorithm>

namespace {

// The area thumbnails are read from this row, so that the area's centre row 50 lands on row 33.
constexpr int kThumbSourceTop = 18;

void Fill(PixelBuffer& picture, const Rect& rc, uint32_t bgr0) {
    const int nLeft = std::max(rc.left, 0);
    const int nRight = std::min(rc.right, picture.Width());
    for (int y = std::max(rc.top, 0); y < std::min(rc.bottom, picture.Height()); ++y) {
        std::fill(picture.Row(y) + nLeft, picture.Row(y) + std::max(nLeft, nRight), bgr0);
    }
}

void Frame(PixelBuffer& picture, const Rect& rc, uint32_t bgr0) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        return;
    }
    Fill(picture, {rc.left, rc.top, rc.right, rc.top + 1}, bgr0);
    Fill(picture, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, bgr0);
    Fill(picture, {rc.left, rc.top, rc.left + 1, rc.bottom}, bgr0);
    Fill(picture, {rc.right - 1, rc.top, rc.right, rc.bottom}, bgr0);
}

// Copies `nWidth` x `nHeight` pixels of `source` from `ptSource` to `ptDest`; only the pixels
// that exist in both pictures are copied.
void Copy(PixelBuffer& dest, Point ptDest, const PixelBuffer* pSource, Point ptSource, int nWidth,
          int nHeight) {
    if (pSource == nullptr || pSource->IsEmpty()) {
        return;
    }
    for (int dy = 0; dy < nHeight; ++dy) {
        const int ySource = ptSource.y + dy;
        const int yDest = ptDest.y + dy;
        if (ySource < 0 || ySource >= pSource->Height() || yDest < 0 || yDest >= dest.Height()) {
            continue;
        }
        for (int dx = 0; dx < nWidth; ++dx) {
            const int xSource = ptSource.x + dx;
            const int xDest = ptDest.x + dx;
            if (xSource >= 0 && xSource < pSource->Width() && xDest >= 0 && xDest < dest.Width()) {
                dest.Row(yDest)[xDest] = pSource->Row(ySource)[xSource];
            }
        }
    }
}

}  // namespace

TargetPicturePlacement PlaceTargetPicture(int nWidth, int nHeight, int nTargetWidth,
                                          int nTargetHeight) {
    const int x0 = nWidth / 2 - nTargetWidth / 2;
    const int y0 = nHeight / 2 - nTargetHeight / 2;
    TargetPicturePlacement placement;
    placement.ptTarget = Point{x0, y0 + 1};
    placement.rcRing = Rect{x0 - 1, y0, x0 + nTargetWidth + 1, y0 + nTargetHeight + 2};
    // The thumbnails lie shifted by (+1, -17) against the area picture, like the plain one.
    placement.ptRingSource = Point{x0 - 2, y0 + kThumbSourceTop - 1};
    return placement;
}

PixelBuffer ComposeTargetPicture(int nWidth, int nHeight, const TargetPictureParts& parts) {
    PixelBuffer picture(nWidth, nHeight);
    if (picture.IsEmpty()) {
        return picture;
    }
    const Rect rcOuter{0, 0, nWidth, nHeight};
    const Rect rcInner{1, 1, nWidth - 1, nHeight - 1};
    Fill(picture, rcOuter, kTargetFrameBgr0);
    Fill(picture, rcInner, kWhiteBgr0);
    Copy(picture, {1, 1}, parts.pPlain, {0, kThumbSourceTop}, nWidth - 2, nHeight - 2);
    const TargetPicturePlacement placement =
        PlaceTargetPicture(nWidth, nHeight, parts.nTargetWidth, parts.nTargetHeight);
    const Rect& rcRing = placement.rcRing;
    Copy(picture, {rcRing.left, rcRing.top}, parts.pHighlighted, placement.ptRingSource,
         rcRing.right - rcRing.left, rcRing.bottom - rcRing.top);
    Copy(picture, placement.ptTarget, parts.pTarget, {0, 0}, parts.nTargetWidth,
         parts.nTargetHeight);
    Frame(picture, rcOuter, kTargetFrameBgr0);
    Frame(picture, rcInner, kWhiteBgr0);
    if (parts.pBadge != nullptr) {
        Copy(picture, {kTileBadgeRect.left, kTileBadgeRect.top}, parts.pBadge, {0, 0},
             kTileBadgeRect.right - kTileBadgeRect.left,
             kTileBadgeRect.bottom - kTileBadgeRect.top);
    }
    return picture;
}

PixelBuffer ComposePictureOfTarget(int nWidth, int nHeight, const CTargetObj& target,
                                   const TargetThumbnails& thumbnails, const PixelBuffer* pBadge) {
    TargetPictureParts parts;
    parts.nTargetWidth = target.m_rcTarget.right - target.m_rcTarget.left;
    parts.nTargetHeight = target.m_rcTarget.bottom - target.m_rcTarget.top;
    parts.pTarget = target.m_bmpTarget.Pixels();
    parts.pPlain = &thumbnails.plain;
    parts.pHighlighted = &thumbnails.highlighted;
    parts.pBadge = pBadge;
    return ComposeTargetPicture(nWidth, nHeight, parts);
}

TargetThumbnails MakeThumbnailsOf(const CTargetObj& target) {
    const PixelBuffer* pArea = target.m_bmpArea.Pixels();
    return pArea != nullptr ? MakeTargetThumbnails(*pArea) : TargetThumbnails{};
}
