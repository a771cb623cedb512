// The dimmed copy of the frozen screen behind a target selection.
#pragma once

#include <cstdint>

#include "engine/PixelBuffer.h"

// Halves every colour's distance from mid-grey: for each of blue, green and red with value c,
// v = 128 + (c - 128) * 50 / 100, the division truncating toward zero (0 gives 64, 255 gives
// 191, 127 and 128 give 128). The fourth byte becomes 0. Works on either row order.
void DimPixels(PixelBuffer& pixels);
