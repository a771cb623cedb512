// BMP file images: the form in which target-list files and exports carry pictures.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/PixelBuffer.h"

// Builds the BMP file image of `picture` (top-down rows): 14-byte file header, 40-byte info
// header with positive height (rows bottom-up), 32 bits per pixel, compression 3 (bit fields)
// followed by the three masks red 0x00FF0000, green 0x0000FF00, blue 0x000000FF, so the pixel
// data starts at offset 66; size of the pixel data = width * height * 4; every other field 0.
// An empty picture, or one whose file would not fit the 32-bit size fields, gives an empty vector.
std::vector<uint8_t> EncodeBmp(const PixelBuffer& picture);

// Reads a BMP file image into a top-down picture with 0 in every fourth byte. Accepts an info
// header of 40 bytes or more, 16, 24 and 32 bits per pixel, compression 0 (BI_RGB) and 3
// (BI_BITFIELDS, masks after a 40-byte header or inside a longer one), bottom-up and top-down
// rows, rows padded to 4 bytes. The pixel data is found through the offset at byte 10; the "BM"
// tag, the size fields and the plane count are not checked. Returns nothing, without reading
// outside `image`, when any size, offset, mask or field does not fit.
std::optional<PixelBuffer> DecodeBmp(std::span<const uint8_t> image);
