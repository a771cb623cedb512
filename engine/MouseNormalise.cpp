// Normalisation of screen points for absolute synthetic mouse moves.
#include "engine/MouseNormalise.h"

#include "engine/DesktopCoords.h"

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

Point NormaliseVirtualDesk(Point ptDesktop, const Rect& rcVirtual) {
    // The virtual screen is a picture of the desktop whose pixel (0, 0) is its top-left.
    const Point ptInside = DesktopToImage(ptDesktop, Point{rcVirtual.left, rcVirtual.top});
    return NormaliseAbsolute(ptInside, ClampToInt32(int64_t{rcVirtual.right} - rcVirtual.left),
                             ClampToInt32(int64_t{rcVirtual.bottom} - rcVirtual.top));
}

Point DesktopPointOfAbsolute(Point ptAbsolute, const Rect& rcVirtual) {
    const Point ptInside{
        PixelOfAbsolute(ptAbsolute.x, ClampToInt32(int64_t{rcVirtual.right} - rcVirtual.left)),
        PixelOfAbsolute(ptAbsolute.y, ClampToInt32(int64_t{rcVirtual.bottom} - rcVirtual.top))};
    return ImageToDesktop(ptInside, Point{rcVirtual.left, rcVirtual.top});
}
