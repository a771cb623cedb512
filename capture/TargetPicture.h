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

// Positions and sizes of the composition, in 64 bits: they come from a target's stored
// rectangle, whose width alone may be 2^32 - 1 pixels.
struct Point64 {
    int64_t x = 0;
    int64_t y = 0;
    friend bool operator==(const Point64&, const Point64&) = default;
};
struct Rect64 {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
    friend bool operator==(const Rect64&, const Rect64&) = default;
};

// Where the parts of the picture go for a target of `nTargetWidth` x `nTargetHeight` (its
// capture rectangle's size, any value two int32 coordinates give) in a W x H picture.
struct TargetPicturePlacement {
    Point64 ptTarget;      // top-left of the sharp target: (W/2 - dw/2, H/2 - dh/2 + 1)
    Rect64 rcRing;         // the highlighted block under it, one pixel larger all round
    Point64 ptRingSource;  // where rcRing's top-left is read from the highlighted thumbnail
};
TargetPicturePlacement PlaceTargetPicture(int nWidth, int nHeight, int64_t nTargetWidth,
                                          int64_t nTargetHeight);

// What the picture is made of; a null or empty picture is left out.
struct TargetPictureParts {
    int64_t nTargetWidth = 0;  // the target's capture rectangle: right - left, bottom - top
    int64_t nTargetHeight = 0;
    const PixelBuffer* pTarget = nullptr;  // the sharp picture, top-down
    const PixelBuffer* pPlain = nullptr;   // thumbnails of the 100 x 100 area picture
    const PixelBuffer* pHighlighted = nullptr;
    const PixelBuffer* pBadge = nullptr;  // the tile's hover badge, drawn at (79, 5)
};

// Composes the W x H picture (top-down): dark blue, white inside; the plain thumbnail from its
// row 18 at (1, 1); the highlighted block as the ring; the sharp target; the frame again (so
// a large target never covers it); the badge. Every copy is clipped to its source and to the
// picture before it starts: what lies outside either is left as it was, and no target size
// makes the work larger than the picture.
PixelBuffer ComposeTargetPicture(int nWidth, int nHeight, const TargetPictureParts& parts);

// The picture of `target` as its tile (with `pBadge`) or the Target Editor shows it: its capture
// rectangle's size, its picture and the thumbnails of its area picture. The rectangle is taken
// as stored, whatever a file held.
PixelBuffer ComposePictureOfTarget(int nWidth, int nHeight, const CTargetObj& target,
                                   const TargetThumbnails& thumbnails,
                                   const PixelBuffer* pBadge = nullptr);

// The thumbnails of `target`'s area picture; both empty when it has none that can be read.
TargetThumbnails MakeThumbnailsOf(const CTargetObj& target);
