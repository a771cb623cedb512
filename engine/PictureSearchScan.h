// The anchor scan: one picture searched by screening candidates with its anchor pixels.
#pragma once

#include <optional>

#include "engine/PictureSearchAnchors.h"
#include "engine/PictureSearchHash.h"
#include "engine/PictureSearchKernels.h"
#include "engine/PictureSearchScratch.h"
#include "engine/PixelBuffer.h"

// The working storage of FindPictureByAnchors, for a caller that searches again and again.
struct AnchorScanScratch {
    CScratchArray<int32_t> hits;  // screened candidate columns of a band
    HashScratch hash;             // for the rolling-hash finish
};

// Finds `picture` in `screen` exactly as FindPictureReference does, given anchors chosen for this
// screen (`choice.count` >= 1; the picture fits the screen). Candidate rows are screened in bands
// of 64 read in memory order, and the survivors verified bottom row first, so the first match in
// search order wins. Verification failures that keep hitting one pixel make it an anchor; when
// verification work still grows past a few comparisons per candidate, the rest of the screen is
// searched with the rolling hash.
std::optional<Point> FindPictureByAnchors(const PixelBuffer& screen, const PixelBuffer& picture,
                                          const AnchorChoice& choice, const SearchKernels& kernels);

// The same, working in `scratch`: nothing is allocated once it has grown to the screen's size.
std::optional<Point> FindPictureByAnchors(const PixelBuffer& screen, const PixelBuffer& picture,
                                          const AnchorChoice& choice, const SearchKernels& kernels,
                                          AnchorScanScratch& scratch);
