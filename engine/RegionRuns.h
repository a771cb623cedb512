// The rectangle runs of a key-colour picture, in batches from which the window region is built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/PixelBuffer.h"

// How far (per channel, both ends included) a colour may lie from the key colour and still be
// transparent.
constexpr int32_t kKeyColourTolerance = 16;
// Rectangles per batch: each batch becomes one region, so no single region-creation call gets an
// unbounded block.
constexpr size_t kRegionRunsPerBatch = 2000;

struct RegionRunBatch {
    std::vector<Rect> rects;  // one-pixel-high runs, in the order found
    // Smallest left and top, largest right and bottom of the batch's rectangles; starts from
    // (0x7FFFFFFF, 0x7FFFFFFF, 0, 0) as the region-data header does.
    Rect bounds;
};

// The opaque runs of `picture` (top-down rows). The key colour is the top-left pixel; a pixel is
// transparent when its red, green and blue each lie within kKeyColourTolerance of the key's (the
// band clamped to 0 ... 255). Rows are walked from the top and each row from the left; every
// maximal run of opaque pixels [x0, x1) on row y becomes the rectangle (x0, y) - (x1, y + 1).
// Runs never join across rows. Batches hold kRegionRunsPerBatch rectangles, the last one the rest;
// an empty picture or one without opaque pixels gives no batch (the region is then empty).
std::vector<RegionRunBatch> RegionRunsFromKeyColour(const PixelBuffer& picture);
