// Encoders for the Windows picture files the resource script embeds: .ico, .bmp and .cur.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/resgen/Canvas.h"

namespace resgen {

// An icon file holding every canvas (square, 1 to 255 pixels) in the given order, each as a
// 32-bit BGRA bitmap (40-byte info header, height doubled, rows bottom-up) followed by its
// 1-bit AND mask, whose bits are set exactly where alpha is 0.
std::vector<uint8_t> EncodeIcoFile(const std::vector<Canvas>& images);

// A BMP file of the canvas at 24 bits per pixel, rows bottom-up and padded to 4 bytes, with a
// 14-byte file header and a 40-byte info header. Alpha is ignored: draw on an opaque ground.
std::vector<uint8_t> EncodeBmp24File(const Canvas& picture);

// A cursor of 256 colours: every pixel is a palette index, and the transparent ones show the
// screen through the AND mask.
struct PalettedCursor {
    int width;
    int height;
    int hotSpotX;
    int hotSpotY;
    std::array<Rgb, 256> palette;
    std::vector<uint8_t> indices;   // top row first, width x height
    std::vector<bool> transparent;  // top row first, width x height
};

// A .cur file with one 8-bit image: directory entry carrying the hot spot, 40-byte info header
// with doubled height and 256 palette entries, index rows bottom-up, then the AND mask.
std::vector<uint8_t> EncodeCurFile(const PalettedCursor& cursor);

}  // namespace resgen
