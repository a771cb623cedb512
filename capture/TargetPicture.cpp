// Composition of the target picture shown by the tiles and the Target Editor.
#include "capture/TargetPicture.h"

#include "capture/TileGeometry.h"
#include "model/TargetObj.h"

#include <algorithm>

namespace {

// The area thumbnails are read from this row, so that the area's centre row 50 lands on row 33.
constexpr int kThumbSourceTop = 18;

// The pixels of `rc` that lie in `picture`, as a range of rows and columns; empty ranges when
// none do. The bounds of a stored rectangle reach a few times 2^32 at most, far inside int64.
struct Clip {
    int64_t left;
    int64_t top;
    int64_t right;
    int64_t bottom;
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

Clip ClipTo(const PixelBuffer& picture, const Rect64& rc) {
    return {std::max<int64_t>(rc.left, 0), std::max<int64_t>(rc.top, 0),
            std::min<int64_t>(rc.right, picture.Width()),
            std::min<int64_t>(rc.bottom, picture.Height())};
}

void Fill(PixelBuffer& picture, const Rect64& rc, uint32_t bgr0) {
    const Clip clip = ClipTo(picture, rc);
    if (clip.IsEmpty()) {
        return;
    }
    for (int64_t y = clip.top; y < clip.bottom; ++y) {
        uint32_t* row = picture.Row(static_cast<int32_t>(y));
        std::fill(row + clip.left, row + clip.right, bgr0);
    }
}

void Frame(PixelBuffer& picture, const Rect64& rc, uint32_t bgr0) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        return;
    }
    Fill(picture, {rc.left, rc.top, rc.right, rc.top + 1}, bgr0);
    Fill(picture, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, bgr0);
    Fill(picture, {rc.left, rc.top, rc.left + 1, rc.bottom}, bgr0);
    Fill(picture, {rc.right - 1, rc.top, rc.right, rc.bottom}, bgr0);
}

// Copies `nWidth` x `nHeight` pixels of `source` from `ptSource` to `ptDest`; only the pixels
// that exist in both pictures are copied. The block is clipped to both pictures first, so its
// size, however large, never sets the work: that is at most the smaller picture.
void Copy(PixelBuffer& dest, Point64 ptDest, const PixelBuffer* pSource, Point64 ptSource,
          int64_t nWidth, int64_t nHeight) {
    if (pSource == nullptr || pSource->IsEmpty()) {
        return;
    }
    // The block's own offsets, from its top-left, that fall inside both pictures.
    const Clip inDest = ClipTo(dest, {ptDest.x, ptDest.y, ptDest.x + nWidth, ptDest.y + nHeight});
    const Clip inSource =
        ClipTo(*pSource, {ptSource.x, ptSource.y, ptSource.x + nWidth, ptSource.y + nHeight});
    const int64_t dxBegin = std::max(inDest.left - ptDest.x, inSource.left - ptSource.x);
    const int64_t dxEnd = std::min(inDest.right - ptDest.x, inSource.right - ptSource.x);
    const int64_t dyBegin = std::max(inDest.top - ptDest.y, inSource.top - ptSource.y);
    const int64_t dyEnd = std::min(inDest.bottom - ptDest.y, inSource.bottom - ptSource.y);
    if (dxEnd <= dxBegin || dyEnd <= dyBegin) {
        return;
    }
    for (int64_t dy = dyBegin; dy < dyEnd; ++dy) {
        const uint32_t* from = pSource->Row(static_cast<int32_t>(ptSource.y + dy)) + ptSource.x;
        uint32_t* to = dest.Row(static_cast<int32_t>(ptDest.y + dy)) + ptDest.x;
        std::copy(from + dxBegin, from + dxEnd, to + dxBegin);
    }
}

}  // namespace

TargetPicturePlacement PlaceTargetPicture(int nWidth, int nHeight, int64_t nTargetWidth,
                                          int64_t nTargetHeight) {
    const int64_t x0 = nWidth / 2 - nTargetWidth / 2;
    const int64_t y0 = nHeight / 2 - nTargetHeight / 2;
    TargetPicturePlacement placement;
    placement.ptTarget = Point64{x0, y0 + 1};
    placement.rcRing = Rect64{x0 - 1, y0, x0 + nTargetWidth + 1, y0 + nTargetHeight + 2};
    // The thumbnails lie shifted by (+1, -17) against the area picture, like the plain one.
    placement.ptRingSource = Point64{x0 - 2, y0 + kThumbSourceTop - 1};
    return placement;
}

PixelBuffer ComposeTargetPicture(int nWidth, int nHeight, const TargetPictureParts& parts) {
    PixelBuffer picture(nWidth, nHeight);
    if (picture.IsEmpty()) {
        return picture;
    }
    const Rect64 rcOuter{0, 0, nWidth, nHeight};
    const Rect64 rcInner{1, 1, nWidth - 1, nHeight - 1};
    Fill(picture, rcOuter, kTargetFrameBgr0);
    Fill(picture, rcInner, kWhiteBgr0);
    Copy(picture, {1, 1}, parts.pPlain, {0, kThumbSourceTop}, nWidth - 2, nHeight - 2);
    const TargetPicturePlacement placement =
        PlaceTargetPicture(nWidth, nHeight, parts.nTargetWidth, parts.nTargetHeight);
    const Rect64& rcRing = placement.rcRing;
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
    // Two int32 coordinates can be 2^32 - 1 apart.
    parts.nTargetWidth = int64_t{target.m_rcTarget.right} - target.m_rcTarget.left;
    parts.nTargetHeight = int64_t{target.m_rcTarget.bottom} - target.m_rcTarget.top;
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
