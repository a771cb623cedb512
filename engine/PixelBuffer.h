// A picture as 32-bit pixels (blue, green, red, 0) with rows stored back to back.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// `value` held within int32. Points computed in 64 bits from values a file supplies (a click
// shift, a rectangle) keep their nearest int32 limit when they lie beyond, far off any screen,
// instead of wrapping round to the other side.
constexpr int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Width x height pixels of 4 bytes each in memory order blue, green, red, 0; stride is
// width * 4 bytes with no padding. The row order (top-down or bottom-up) is stated by each
// user. Two pixels are equal when their blue, green and red bytes are equal.
class PixelBuffer {
public:
    PixelBuffer() = default;
    // Allocates width * height pixels, all zero. Negative sizes count as zero.
    PixelBuffer(int32_t width, int32_t height);

    int32_t Width() const { return m_nWidth; }
    int32_t Height() const { return m_nHeight; }
    bool IsEmpty() const { return m_pixels.empty(); }
    size_t Stride() const { return static_cast<size_t>(m_nWidth) * 4; }
    size_t SizeInBytes() const { return m_pixels.size() * 4; }

    uint32_t* Row(int32_t y) { return m_pixels.data() + static_cast<size_t>(y) * m_nWidth; }
    const uint32_t* Row(int32_t y) const {
        return m_pixels.data() + static_cast<size_t>(y) * m_nWidth;
    }
    uint32_t* Data() { return m_pixels.data(); }
    const uint32_t* Data() const { return m_pixels.data(); }

    // Pixel value 0x00RRGGBB as stored in memory on a little-endian machine.
    uint32_t At(int32_t x, int32_t y) const { return Row(y)[x]; }
    void Set(int32_t x, int32_t y, uint32_t bgr0) { Row(y)[x] = bgr0; }

    friend bool operator==(const PixelBuffer&, const PixelBuffer&) = default;

private:
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    std::vector<uint32_t> m_pixels;
};

// Copies Width() x Height() pixels from `pSource` (same layout) into `target`, clearing each
// fourth byte: what a 32-bit bitmap of the screen holds there is no colour.
void CopyPixelsClearingFourthByte(const uint32_t* pSource, PixelBuffer& target);

// Builds the pixel value of a colour: 0x00RRGGBB, which is the bytes B, G, R, 0 in memory.
constexpr uint32_t MakeBgr0(uint8_t red, uint8_t green, uint8_t blue) {
    return (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}
