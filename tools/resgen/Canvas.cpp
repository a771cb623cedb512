// Supersampled shape filling and pixel read-out for the resource pictures.
#include "tools/resgen/Canvas.h"

#include <algorithm>
#include <cmath>

namespace resgen {
namespace {

constexpr int kSamplesPerAxis = 16;

uint8_t ToByte(double value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value * 255.0), 0L, 255L));
}

}  // namespace

Canvas::Canvas(int width, int height)
    : m_nWidth(width),
      m_nHeight(height),
      m_pixels(static_cast<size_t>(width) * static_cast<size_t>(height), {0, 0, 0, 0}) {}

void Canvas::Fill(const Shape& shape, Rgb colour) {
    const int x0 = std::max(0, static_cast<int>(std::floor(shape.bounds.x0)));
    const int y0 = std::max(0, static_cast<int>(std::floor(shape.bounds.y0)));
    const int x1 = std::min(m_nWidth, static_cast<int>(std::ceil(shape.bounds.x1)));
    const int y1 = std::min(m_nHeight, static_cast<int>(std::ceil(shape.bounds.y1)));
    const double r = colour.r / 255.0;
    const double g = colour.g / 255.0;
    const double b = colour.b / 255.0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    // Sample offsets are multiples of 1/32: exact in binary floating point.
                    const Point p{x + (sx + 0.5) / kSamplesPerAxis,
                                  y + (sy + 0.5) / kSamplesPerAxis};
                    inside += shape.contains(p) ? 1 : 0;
                }
            }
            if (inside == 0) {
                continue;
            }
            const double a = static_cast<double>(inside) / (kSamplesPerAxis * kSamplesPerAxis);
            Premultiplied& px = m_pixels[static_cast<size_t>(y) * m_nWidth + x];
            px = {r * a + px.r * (1.0 - a), g * a + px.g * (1.0 - a), b * a + px.b * (1.0 - a),
                  a + px.a * (1.0 - a)};
        }
    }
}

Rgba Canvas::At(int x, int y) const {
    const Premultiplied& px = m_pixels[static_cast<size_t>(y) * m_nWidth + x];
    const uint8_t alpha = ToByte(px.a);
    if (alpha == 0) {
        return {0, 0, 0, 0};
    }
    return {ToByte(px.r / px.a), ToByte(px.g / px.a), ToByte(px.b / px.a), alpha};
}

void Canvas::Set(int x, int y, Rgba colour) {
    const double a = colour.a / 255.0;
    m_pixels[static_cast<size_t>(y) * m_nWidth + x] = {colour.r / 255.0 * a, colour.g / 255.0 * a,
                                                       colour.b / 255.0 * a, a};
}

}  // namespace resgen
