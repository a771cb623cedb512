// The program's bitmaps and its cursor: tile menu badge, sight marker, crosshair cursor.
#pragma once

#include "tools/resgen/Canvas.h"
#include "tools/resgen/ImageFiles.h"

namespace resgen {

// 16 x 16 opaque badge of a target tile: a light grey button face with a blue down-pointing
// triangle.
Canvas DrawTileMenuBadge();

// 64 x 64 opaque sight marker: a yellow (255, 242, 0) ring outlined in dark grey, filling the
// square, with four ticks pointing at pixel (32, 32), on pure white. The window region keeps
// only pixels more than 16 away from white in some channel, so every pixel is either pure white
// or clearly coloured: edges are cut hard, never blended into white.
Canvas DrawSight();

// 32 x 32 cursor: a red (255, 0, 0) cross of one-pixel lines, row 15 from x 3 to 28 and column
// 16 from y 3 to 28, transparent elsewhere; hot spot (16, 15).
PalettedCursor DrawCrosshairCursor();

}  // namespace resgen
