// Resizing pictures: blocks at whole-number factors, bilinear blending otherwise.
#include "engine/PictureScale.h"

#include <algorithm>
#include <vector>

namespace {

// Fixed-point fractions of a source pixel: 8 bits.
constexpr int64_t kFractionBits = 8;
constexpr int64_t kOne = int64_t{1} << kFractionBits;

PixelBuffer ScaleByBlocks(const PixelBuffer& source, int32_t nWidth, int32_t nHeight) {
    PixelBuffer picture(nWidth, nHeight);
    const int32_t nFactorX = nWidth / source.Width();
    const int32_t nFactorY = nHeight / source.Height();
    for (int32_t y = 0; y < nHeight; y += nFactorY) {
        const uint32_t* from = source.Row(y / nFactorY);
        uint32_t* to = picture.Row(y);
        for (int32_t x = 0; x < source.Width(); ++x) {
            std::fill_n(to + x * nFactorX, nFactorX, from[x]);
        }
        // The block's other rows are copies of its first.
        for (int32_t dy = 1; dy < nFactorY; ++dy) {
            std::copy_n(to, nWidth, picture.Row(y + dy));
        }
    }
    return picture;
}

// Where destination pixel `nDest` of `nDestSize` samples the source of `nSourceSize` pixels:
// the left (or upper) source pixel and the weight of the next one, out of kOne.
struct Sample {
    int32_t nFirst;
    int32_t nSecond;
    int64_t nWeight;
};

Sample SampleAt(int32_t nDest, int32_t nDestSize, int32_t nSourceSize) {
    // Centre of the destination pixel in source pixels, less half a pixel: (2d + 1) s / 2D - 1/2.
    const int64_t nPos =
        ((2 * int64_t{nDest} + 1) * nSourceSize - nDestSize) * kOne / (2 * int64_t{nDestSize});
    const int64_t nClamped = std::clamp<int64_t>(nPos, 0, (int64_t{nSourceSize} - 1) * kOne);
    const auto nFirst = static_cast<int32_t>(nClamped >> kFractionBits);
    return Sample{nFirst, std::min(nFirst + 1, nSourceSize - 1), nClamped & (kOne - 1)};
}

// Each channel (a (kOne - w) + b w + kOne / 2) / kOne, red and blue side by side in one word: a
// channel's sum stays below 2^16 and so never reaches the next.
uint32_t Blend(uint32_t a, uint32_t b, int64_t nWeightB) {
    const auto w = static_cast<uint32_t>(nWeightB);
    const auto wa = static_cast<uint32_t>(kOne) - w;
    const uint32_t rb = ((a & 0xFF00FFu) * wa + (b & 0xFF00FFu) * w + 0x800080u) >> kFractionBits;
    const uint32_t g = ((a & 0xFF00u) * wa + (b & 0xFF00u) * w + 0x8000u) >> kFractionBits;
    return (rb & 0xFF00FFu) | (g & 0xFF00u);
}

PixelBuffer ScaleBilinear(const PixelBuffer& source, int32_t nWidth, int32_t nHeight) {
    // Separable: every source row is blended across once, then the rows are blended down.
    std::vector<Sample> columns;
    columns.reserve(static_cast<size_t>(nWidth));
    for (int32_t x = 0; x < nWidth; ++x) {
        columns.push_back(SampleAt(x, nWidth, source.Width()));
    }
    PixelBuffer across(nWidth, source.Height());
    for (int32_t y = 0; y < source.Height(); ++y) {
        const uint32_t* from = source.Row(y);
        uint32_t* to = across.Row(y);
        for (int32_t x = 0; x < nWidth; ++x) {
            const Sample& col = columns[static_cast<size_t>(x)];
            to[x] = Blend(from[col.nFirst], from[col.nSecond], col.nWeight);
        }
    }
    PixelBuffer picture(nWidth, nHeight);
    for (int32_t y = 0; y < nHeight; ++y) {
        const Sample row = SampleAt(y, nHeight, source.Height());
        const uint32_t* upper = across.Row(row.nFirst);
        const uint32_t* lower = across.Row(row.nSecond);
        uint32_t* to = picture.Row(y);
        for (int32_t x = 0; x < nWidth; ++x) {
            to[x] = Blend(upper[x], lower[x], row.nWeight);
        }
    }
    return picture;
}

}  // namespace

PixelBuffer ScalePicture(const PixelBuffer& source, int32_t nWidth, int32_t nHeight) {
    if (source.IsEmpty() || nWidth <= 0 || nHeight <= 0) {
        return PixelBuffer();
    }
    if (nWidth == source.Width() && nHeight == source.Height()) {
        return source;
    }
    if (nWidth % source.Width() == 0 && nHeight % source.Height() == 0) {
        return ScaleByBlocks(source, nWidth, nHeight);
    }
    return ScaleBilinear(source, nWidth, nHeight);
}
