// Normalisation of screen points for absolute synthetic mouse moves.
#include "engine/MouseNormalise.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kAbsoluteScale = 65536;

int64_t CeilDiv(int64_t nNumerator, int64_t nDenominator) {
    // nDenominator > 0. C++ truncates toward zero, which is already the ceiling below zero.
    return nNumerator >= 0 ? (nNumerator + nDenominator - 1) / nDenominator
                           : nNumerator / nDenominator;
}

int64_t FloorDiv(int64_t nNumerator, int64_t nDenominator) {
    return nNumerator >= 0 ? nNumerator / nDenominator : -CeilDiv(-nNumerator, nDenominator);
}

int32_t Saturate(int64_t nValue) {
    return static_cast<int32_t>(std::clamp<int64_t>(nValue, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t NormaliseCoordinate(int32_t nPixel, int32_t nScreenExtent) {
    if (nScreenExtent <= 0) {
        return 0;
    }
    return Saturate(CeilDiv(int64_t{nPixel} * kAbsoluteScale, nScreenExtent));
}

}  // namespace

Point NormaliseAbsolute(Point ptScreen, int32_t nScreenWidth, int32_t nScreenHeight) {
    return Point{NormaliseCoordinate(ptScreen.x, nScreenWidth),
                 NormaliseCoordinate(ptScreen.y, nScreenHeight)};
}

int32_t PixelOfAbsolute(int32_t nAbsolute, int32_t nScreenExtent) {
    if (nScreenExtent <= 0) {
        return 0;
    }
    return Saturate(FloorDiv(int64_t{nAbsolute} * nScreenExtent, kAbsoluteScale));
}
