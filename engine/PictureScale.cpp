// Resizing pictures: blocks at whole-number factors, bilinear blending otherwise.
#include "engine/PictureScale.h"

namespace {

// Fixed-point fractions of a source pixel: 8 bits.
constexpr int64_t kFractionBits = 8;
constexpr int64_t kOne = int64_t{1} << kFractionBits;

PixelBuffer ScaleByBlocks(const PixelBuffer& source, int32_t nWidth, int32_t nHeight) {
    PixelBuffer picture(nWidth, nHeight);
    const int32_t nFactorX = nWidth / source.Width();
    const int32_t nFactorY = nHeight / source.Height();
    for (int32_t y = 0; y < nHeight; ++y) {
        const uint32_t* from = source.Row(y / nFactorY);
        uint32_t* to = picture.Row(y);
        for (int32_t x = 0; x < nWidth; ++x) {
            to[x] = from[x / nFactorX];
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

uint32_t Blend(uint32_t a, uint32_t b, int64_t nWeightB) {
    uint32_t result = 0;
    for (int nShift = 0; nShift <= 16; nShift += 8) {
        const int64_t ca = (a >> nShift) & 0xFF;
        const int64_t cb = (b >> nShift) & 0xFF;
        const int64_t c = (ca * (kOne - nWeightB) + cb * nWeightB + kOne / 2) >> kFractionBits;
        result |= static_cast<uint32_t>(c) << nShift;
    }
    return result;
}

PixelBuffer ScaleBilinear(const PixelBuffer& source, int32_t nWidth, int32_t nHeight) {
    PixelBuffer picture(nWidth, nHeight);
    std::vector<Sample> columns(static_cast<size_t>(nWidth));
    for (int32_t x = 0; x < nWidth; ++x) {
        columns[static_cast<size_t>(x)] = SampleAt(x, nWidth, source.Width());
    }
    for (int32_t y = 0; y < nHeight; ++y) {
        const Sample row = SampleAt(y, nHeight, source.Height());
        const uint32_t* upper = source.Row(row.nFirst);
        const uint32_t* lower = source.Row(row.nSecond);
        uint32_t* to = picture.Row(y);
        for (int32_t x = 0; x < nWidth; ++x) {
            const Sample& col = columns[static_cast<size_t>(x)];
            to[x] = Blend(Blend(upper[col.nFirst], upper[col.nSecond], col.nWeight),
                          Blend(lower[col.nFirst], lower[col.nSecond], col.nWeight), row.nWeight);
        }
    }
    return picture;
}

}  // namespace

PixelBuffer ScalePicture(const PixelBuffer& source, int32_t nWidth, int32_t nHeight) {
    if (source.IsEmpty() || nWidth <= 0 || nHeight <= 0) {
        return PixelBuffer();
    }
    if (nWidth % source.Width() == 0 && nHeight % source.Height() == 0) {
        return ScaleByBlocks(source, nWidth, nHeight);
    }
    return ScaleBilinear(source, nWidth, nHeight);
}
