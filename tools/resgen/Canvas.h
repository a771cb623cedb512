// A small RGBA drawing surface that fills shapes with anti-aliasing by supersampling.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/resgen/Geometry.h"

namespace resgen {

struct Rgb {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

// Straight (not premultiplied) alpha, as icon files store it.
struct Rgba {
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t a;
};

// Width x height pixels, top row first, starting fully transparent.
class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // Paints `colour` over the canvas where `shape` lies. Each pixel is covered in proportion to
    // the share of its 16 x 16 sample points inside the shape.
    void Fill(const Shape& shape, Rgb colour);

    // Pixel (x, y) rounded to bytes; a pixel whose alpha rounds to 0 reads as all zero.
    Rgba At(int x, int y) const;

    // Replaces pixel (x, y) outright, without blending.
    void Set(int x, int y, Rgba colour);

private:
    struct Premultiplied {
        double r;
        double g;
        double b;
        double a;
    };

    int m_nWidth;
    int m_nHeight;
    std::vector<Premultiplied> m_pixels;
};

}  // namespace resgen
