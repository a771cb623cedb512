// Helpers shared by the search tests: screens and pictures that make searches work hard.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "engine/PixelBuffer.h"

// Pixels drawn from `palette`; a small palette makes many places nearly match.
inline PixelBuffer PalettePicture(int32_t width, int32_t height,
                                  const std::vector<uint32_t>& palette, std::mt19937& random) {
    PixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, palette[random() % palette.size()]);
        }
    }
    return picture;
}

// Random colours, the fourth byte 0: a picture that matches nowhere else by chance.
inline PixelBuffer NoisePicture(int32_t width, int32_t height, std::mt19937& random) {
    PixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, random() & 0x00FFFFFF);
        }
    }
    return picture;
}

inline PixelBuffer UniformPicture(int32_t width, int32_t height, uint32_t colour) {
    PixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, colour);
        }
    }
    return picture;
}

// One-pixel vertical stripes of black and white.
inline PixelBuffer StripesPicture(int32_t width, int32_t height, int32_t phase = 0) {
    PixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, ((x + phase) & 1) != 0 ? 0x00FFFFFF : 0);
        }
    }
    return picture;
}

inline PixelBuffer Cut(const PixelBuffer& screen, int32_t left, int32_t top, int32_t width,
                       int32_t height) {
    PixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, screen.At(left + x, top + y));
        }
    }
    return picture;
}

inline void Paste(PixelBuffer& screen, const PixelBuffer& picture, int32_t left, int32_t top) {
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            screen.Set(left + x, top + y, picture.At(x, y));
        }
    }
}

// Sets random bits in every pixel's fourth byte, as a screen grab may leave them.
inline void ScrambleFourthByte(PixelBuffer& pixels, std::mt19937& random) {
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            pixels.Set(x, y, (pixels.At(x, y) & 0x00FFFFFF) | (random() & 0xFF000000));
        }
    }
}
