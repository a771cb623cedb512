// Screen pixels to the 0 ... 65535 coordinates of absolute synthetic mouse moves.
#pragma once

#include <cstdint>

#include "engine/PixelBuffer.h"

// The system turns an absolute coordinate v back into the pixel floor(v * extent / 65536). This
// returns, per axis, the smallest v that lands exactly on the given pixel: ceil(x * 65536 /
// extent). The plain x * 65535 / extent would land one pixel up and to the left of almost every
// point, and a click one pixel off is a click on the wrong thing for a one-pixel-wide target.
// Points off the screen keep their out-of-range results (negative, or above 65535): nothing
// corrects a click point that a large click shift puts off the screen. The arithmetic is 64-bit,
// so large coordinates do not overflow; a result beyond int32 saturates. A width or height of
// zero or less gives 0 for that coordinate.
Point NormaliseAbsolute(Point ptScreen, int32_t nScreenWidth, int32_t nScreenHeight);

// The pixel the system puts the pointer on for the absolute coordinate v: floor(v * extent /
// 65536). NormaliseAbsolute's inverse on the screen.
int32_t PixelOfAbsolute(int32_t nAbsolute, int32_t nScreenExtent);
