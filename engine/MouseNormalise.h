// Screen pixels to the 0 ... 65535 coordinates of absolute synthetic mouse moves.
#pragma once

#include <cstdint>

#include "engine/PixelBuffer.h"

// Returns (x * 65535 / nScreenWidth, y * 65535 / nScreenHeight), the division truncating toward
// zero (65535, not 65536, so the last pixel column maps just below 65535). Points off the screen
// keep their out-of-range results (negative, or above 65535). The product is taken in 64 bits, so
// coordinates beyond +-32768 do not overflow; a result beyond int32 saturates. A width or height of
// zero or less gives 0 for that coordinate.
Point NormaliseAbsolute(Point ptScreen, int32_t nScreenWidth, int32_t nScreenHeight);
