// Deterministic screens and target pictures for the search bench, drawn in code.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/PixelBuffer.h"

enum class ScreenKind {
    Noise,    // photo-like: smooth colour waves with per-pixel grain, few repeated colours
    Desktop,  // wallpaper, windows with white and grey areas, anti-aliased text, buttons, icons
    Uniform,  // all white
    Stripes,  // one-pixel vertical black and white stripes: almost every place nearly matches
};

const char* ScreenKindName(ScreenKind kind);

// The same screen for the same arguments, on every machine.
PixelBuffer MakeScreen(ScreenKind kind, int32_t width, int32_t height);

// `count` different pictures of width x height that do not occur on `screen`, each one pixel
// away from occurring: a piece of the screen with one pixel near its top changed (on the uniform
// screen, white with one near-white pixel near its top). The first is cut from near the top of
// the screen, the others from all over it.
std::vector<PixelBuffer> MakeAbsentPictures(ScreenKind kind, const PixelBuffer& screen, int count,
                                            int32_t width, int32_t height);
