// Pictures enlarged or reduced for the display's scale. Platform-free.
#pragma once

#include "engine/PixelBuffer.h"

// `source` resized to `nWidth` x `nHeight` (row order kept). Whole-number factors in both
// directions (the same size included) turn each source pixel into a block of identical pixels,
// so a picture stays sharp at 100 % and 200 %; any other factor blends the four nearest source
// pixels (bilinear, pixel centres aligned), which keeps fractional scales smooth. An empty source
// or a size of zero or less gives an empty picture.
PixelBuffer ScalePicture(const PixelBuffer& source, int32_t nWidth, int32_t nHeight);
