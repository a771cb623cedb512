// The place where a picture comes nearest to a screen: why an exact search finds nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/PixelBuffer.h"

// The place of a picture on a screen with the fewest differing pixels.
struct NearestMatch {
    Point topLeft;                // screen pixels, top-left of the picture's place
    int64_t differingPixels = 0;  // pixels whose blue, green or red byte differs there
    int64_t pixelCount = 0;       // width x height of the picture
    int32_t largestChannelDifference =
        0;  // largest |blue|, |green| or |red| difference there, 0 … 255
    friend bool operator==(const NearestMatch&, const NearestMatch&) = default;
};

// Among the places where the whole picture lies on the screen (both with top-down rows), the one
// where the fewest pixels differ; of places with equally few, the one the exact search reaches
// first (bottom picture row lowest, then leftmost), so a picture that is on the screen gives
// FindPicture's place with 0 differing pixels. Pixels compare by blue, green and red only.
// Nothing when there is no place: the picture is empty (no pixel to compare) or wider or higher
// than the screen. This is the plain scan: every place, every pixel.
std::optional<NearestMatch> FindNearestMatchReference(const PixelBuffer& screen,
                                                      const PixelBuffer& picture);

// Returns exactly what FindNearestMatchReference returns. It asks the exact search first, then
// compares the picture's pixels in order of how rare their colours are on the screen, seeds the
// best count at the places where those rare pixels match, and leaves each place as soon as it
// cannot beat the best place so far. Fast when the picture is nearly on the screen; when it is
// far from everywhere, each place costs about as many comparisons as the best count.
std::optional<NearestMatch> FindNearestMatch(const PixelBuffer& screen, const PixelBuffer& picture);
