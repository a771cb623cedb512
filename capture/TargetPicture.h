// The picture a tile and the Target Editor show for one target: the sharp target inside a
// one-pixel highlighted ring, over the softened surroundings, in a two-colour frame.
// Platform-free.
#pragma once

#include "engine/BitmapEx.h"
#include "engine/PixelBuffer.h"

#include <cstdint>

class CTargetObj;

inline constexpr int kTargetPictureWidth = 102;
inline constexpr int kTargetPictureHeight = 64;
// The frame's outer colour.
inline constexpr uint32_t kTargetFrameBgr0 = MakeBgr0(53, 73, 106);
inline constexpr uint32_t kWhiteBgr0 = MakeBgr0(255, 255, 255);

// Where the parts of the picture go for a target of `nTargetWidth` x `nTargetHeight` (its
// capture rectangle's size) in a W x H picture.
struct TargetPicturePlacement {
    Point ptTarget;      // top-left of the sharp target: (W/2 - dw/2, H/2 - dh/2 + 1)
    Rect rcRing;         // the highlighted block under it, one pixel larger all round
    Point ptRingSource;  // where rcRing's top-left is read from the highlighted thumbnail
};
TargetPicturePlacement PlaceTargetPicture(int nWidth, int nHeight, int nTargetWidth,
                                          int nTargetHeight);

// What the picture is made of; a null or empty picture is left out.
struct TargetPictureParts {
    int nTargetWidth = 0;  // the target's capture rectangle
    int nTargetHeight = 0;
    const PixelBuffer* pTarget = nullptr;  // the sharp picture, top-down
    const PixelBuffer* pPlain = nullptr;   // thumbnails of the 100 x 100 area picture
    const PixelBuffer* pHighlighted = nullptr;
    const PixelBuffer* pBadge = nullptr;  // the tile's hover badge, drawn at (79, 5)
};

// Composes the W x H picture (top-down): dark blue, white inside; the plain thumbnail from its
// row 18 at (1, 1); the highlighted block as the ring; the sharp target; the frame again (so
// a large target never covers it); the badge. Every copy is clipped to its source and to the
// picture: what lies outside either is left as it was.
PixelBuffer ComposeTargetPicture(int nWidth, int nHeight, const TargetPictureParts& parts);

// The picture of `target` as its tile (with `pBadge`) or the Target Editor shows it: its capture
// rectangle's size, its picture and the thumbnails of its area picture.
PixelBuffer ComposePictureOfTarget(int nWidth, int nHeight, const CTargetObj& target,
                                   const TargetThumbnails& thumbnails,
                                   const PixelBuffer* pBadge = nullptr);

// The thumbnails of `target`'s area picture; both empty when it has none that can be read.
TargetThumbnails MakeThumbnailsOf(const CTargetObj& target);
