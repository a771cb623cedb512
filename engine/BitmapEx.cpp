// The bitmap filters: 32-bit conversion, row flip, blur, tint and inversion.
#include "engine/BitmapEx.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kTintStrength = (165 * 65536) / 65280;  // 165 of 256

// A 5-bit field widened to 8 bits so that 0 stays 0 and 31 becomes 255.
uint8_t Widen5(uint32_t field) {
    return static_cast<uint8_t>((field << 3) | (field >> 2));
}

}  // namespace

void CBitmapEx::Clear() {
    m_nWidth = 0;
    m_nHeight = 0;
    m_nBitsPerPixel = 0;
    m_nStride = 0;
    m_pixels.clear();
    m_pixels.shrink_to_fit();
}

bool CBitmapEx::LoadFromRows(int32_t width, int32_t height, int32_t bitsPerPixel, size_t stride,
                             std::span<const uint8_t> rows) {
    Clear();
    if (width < 1 || height < 1 ||
        (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)) {
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel / 8);
    if (stride < rowBytes || stride > rows.size() / static_cast<size_t>(height)) {
        return false;
    }
    m_nWidth = width;
    m_nHeight = height;
    m_nBitsPerPixel = bitsPerPixel;
    m_nStride = stride;
    m_pixels.assign(rows.begin(), rows.begin() + static_cast<ptrdiff_t>(stride * height));
    ConvertTo32Bits();
    FlipRows();
    return true;
}

bool CBitmapEx::LoadFromPixels(const PixelBuffer& topDown) {
    if (topDown.IsEmpty()) {
        Clear();
        return false;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(topDown.Data());
    return LoadFromRows(topDown.Width(), topDown.Height(), 32, topDown.Stride(),
                        std::span<const uint8_t>(bytes, topDown.SizeInBytes()));
}

void CBitmapEx::ConvertTo32Bits() {
    if (IsEmpty()) {
        return;
    }
    const size_t width = static_cast<size_t>(m_nWidth);
    std::vector<uint8_t> converted(static_cast<size_t>(m_nHeight) * width * 4);
    for (int32_t y = 0; y < m_nHeight; ++y) {
        const uint8_t* source = m_pixels.data() + static_cast<size_t>(y) * m_nStride;
        uint8_t* target = converted.data() + static_cast<size_t>(y) * width * 4;
        for (size_t x = 0; x < width; ++x, target += 4) {
            if (m_nBitsPerPixel == 32) {
                std::memcpy(target, source + x * 4, 4);
            } else if (m_nBitsPerPixel == 24) {
                std::memcpy(target, source + x * 3, 3);
                target[3] = 0;
            } else {
                const uint32_t value = source[x * 2] | (uint32_t{source[x * 2 + 1]} << 8);
                target[0] = Widen5(value & 31);
                target[1] = Widen5((value >> 5) & 31);
                target[2] = Widen5((value >> 10) & 31);
                target[3] = 0;
            }
        }
    }
    m_pixels = std::move(converted);
    m_nBitsPerPixel = 32;
    m_nStride = width * 4;
}

void CBitmapEx::FlipRows() {
    if (IsEmpty()) {
        return;
    }
    std::vector<uint8_t> scratch(m_nStride);
    for (int32_t y = 0; y < m_nHeight / 2; ++y) {
        uint8_t* upper = m_pixels.data() + static_cast<size_t>(y) * m_nStride;
        uint8_t* lower = m_pixels.data() + static_cast<size_t>(m_nHeight - 1 - y) * m_nStride;
        std::memcpy(scratch.data(), upper, m_nStride);
        std::memcpy(upper, lower, m_nStride);
        std::memcpy(lower, scratch.data(), m_nStride);
    }
}

void CBitmapEx::Blur3x3() {
    if (IsEmpty()) {
        return;
    }
    static constexpr int kWeights[3][3] = {{1, 2, 1}, {2, 4, 2}, {1, 2, 1}};
    std::vector<uint8_t> blurred(m_pixels.size());
    for (int32_t y = 0; y < m_nHeight; ++y) {
        for (int32_t x = 0; x < m_nWidth; ++x) {
            int sums[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy) {
                const int32_t row = std::clamp(y + dy, 0, m_nHeight - 1);
                for (int dx = -1; dx <= 1; ++dx) {
                    const int32_t column = std::clamp(x + dx, 0, m_nWidth - 1);
                    const uint8_t* pixel = m_pixels.data() + static_cast<size_t>(row) * m_nStride +
                                           static_cast<size_t>(column) * 4;
                    const int weight = kWeights[dy + 1][dx + 1];
                    for (int channel = 0; channel < 3; ++channel) {
                        sums[channel] += pixel[channel] * weight;
                    }
                }
            }
            uint8_t* out =
                blurred.data() + static_cast<size_t>(y) * m_nStride + static_cast<size_t>(x) * 4;
            for (int channel = 0; channel < 3; ++channel) {
                out[channel] = static_cast<uint8_t>(std::clamp(sums[channel] / 16, 0, 255));
            }
            out[3] = 0;
        }
    }
    m_pixels = std::move(blurred);
}

void CBitmapEx::TintTowardsCyan() {
    for (size_t at = 0; at + 4 <= m_pixels.size(); at += 4) {
        const int32_t blue = m_pixels[at];
        const int32_t green = m_pixels[at + 1];
        const int32_t red = m_pixels[at + 2];
        m_pixels[at] = static_cast<uint8_t>((256 * blue + kTintStrength * (255 - blue)) >> 8);
        m_pixels[at + 1] = static_cast<uint8_t>((256 * green + kTintStrength * (242 - green)) >> 8);
        m_pixels[at + 2] = static_cast<uint8_t>((red * (256 - kTintStrength)) >> 8);
        m_pixels[at + 3] = 0;
    }
}

void CBitmapEx::InvertColours() {
    for (size_t at = 0; at + 4 <= m_pixels.size(); at += 4) {
        m_pixels[at] ^= 0xFF;
        m_pixels[at + 1] ^= 0xFF;
        m_pixels[at + 2] ^= 0xFF;
    }
}

PixelBuffer CBitmapEx::ToTopDownPixels() const {
    if (IsEmpty()) {
        return {};
    }
    PixelBuffer pixels(m_nWidth, m_nHeight);
    for (int32_t y = 0; y < m_nHeight; ++y) {
        std::memcpy(pixels.Row(m_nHeight - 1 - y),
                    m_pixels.data() + static_cast<size_t>(y) * m_nStride, m_nStride);
    }
    return pixels;
}

TargetThumbnails MakeTargetThumbnails(const PixelBuffer& area) {
    TargetThumbnails thumbnails;
    CBitmapEx bitmap;
    if (!bitmap.LoadFromPixels(area)) {
        return thumbnails;
    }
    bitmap.Blur3x3();
    thumbnails.plain = bitmap.ToTopDownPixels();
    bitmap.TintTowardsCyan();
    bitmap.InvertColours();
    thumbnails.highlighted = bitmap.ToTopDownPixels();
    return thumbnails;
}
