// A picture as a 32-bit bottom-up bitmap in memory, with the filters that make target thumbnails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/PixelBuffer.h"

// Holds one picture the way a bitmap file stores it: rows bottom-up (row 0 is the bottom line),
// 4 bytes per pixel (blue, green, red, fourth byte) once loaded. An object without pixel data is
// empty, and every filter on an empty object does nothing.
class CBitmapEx {
public:
    CBitmapEx() = default;
    virtual ~CBitmapEx() = default;
    CBitmapEx(const CBitmapEx&) = default;
    CBitmapEx& operator=(const CBitmapEx&) = default;
    CBitmapEx(CBitmapEx&&) = default;
    CBitmapEx& operator=(CBitmapEx&&) = default;

    // Takes a picture as the platform delivers it: `height` rows of `stride` bytes, top row
    // first, `bitsPerPixel` 16 (5-5-5), 24 or 32. Frees any picture held before. Converts it to
    // 32 bits and turns the rows bottom-up. Returns false and stays empty for 8 bits or fewer, an
    // unknown depth, a size below 1, a stride too short for a row, or fewer than height * stride
    // bytes in `rows`.
    bool LoadFromRows(int32_t width, int32_t height, int32_t bitsPerPixel, size_t stride,
                      std::span<const uint8_t> rows);
    // LoadFromRows for a top-down 32-bit picture; an empty `topDown` leaves the object empty.
    bool LoadFromPixels(const PixelBuffer& topDown);

    // Rewrites the pixel data as 4 bytes per pixel with no row padding. 32 bits: the four bytes
    // are copied; 24 bits: blue, green, red and 0; 16 bits: each 5-bit field widened to 8 bits by
    // repeating its top bits (31 becomes 255), fourth byte 0. The row order is kept.
    void ConvertTo32Bits();
    // Reverses the row order in place.
    void FlipRows();
    // Weighted 3 x 3 average per channel (4 for the pixel, 2 for edge and 1 for corner
    // neighbours, divided by 16 rounding down); outside pixels repeat the nearest edge pixel. The
    // fourth byte becomes 0.
    void Blur3x3();
    // Moves every colour towards cyan by 165/256: red towards 0, green towards 242, blue towards
    // 255, in integers rounding down. The fourth byte becomes 0.
    void TintTowardsCyan();
    // Inverts blue, green and red (exclusive-or with 0x00FFFFFF); the fourth byte is kept.
    void InvertColours();

    bool IsEmpty() const { return m_pixels.empty(); }
    int32_t Width() const { return m_nWidth; }
    int32_t Height() const { return m_nHeight; }
    int32_t BitsPerPixel() const { return m_nBitsPerPixel; }
    size_t Stride() const { return m_nStride; }
    size_t ImageSize() const { return m_pixels.size(); }
    // ImageSize rows of Stride bytes in the current row order.
    const uint8_t* Data() const { return m_pixels.data(); }
    uint8_t* Data() { return m_pixels.data(); }

    // A copy of the picture with top-down rows; empty for an empty object.
    PixelBuffer ToTopDownPixels() const;

private:
    void Clear();

    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int32_t m_nBitsPerPixel = 0;
    size_t m_nStride = 0;
    std::vector<uint8_t> m_pixels;
};

// The two pictures a target view shows for one target, both top-down; both empty when the
// source is empty.
struct TargetThumbnails {
    PixelBuffer plain;        // the area picture blurred
    PixelBuffer highlighted;  // blurred, tinted towards cyan and inverted
};

// Makes the thumbnails of a target from its area picture (top-down).
TargetThumbnails MakeTargetThumbnails(const PixelBuffer& area);
