// Normalisation of screen points for absolute synthetic mouse moves.
#include "engine/MouseNormalise.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kAbsoluteRange = 65535;

int32_t NormaliseCoordinate(int32_t nPixel, int32_t nScreenExtent) {
    if (nScreenExtent <= 0) {
        return 0;
    }
    // Integer division in C++ truncates toward zero, as the 32-bit formula the system expects.
    const int64_t nScaled = int64_t{nPixel} * kAbsoluteRange / nScreenExtent;
    return static_cast<int32_t>(std::clamp<int64_t>(nScaled, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

Point NormaliseAbsolute(Point ptScreen, int32_t nScreenWidth, int32_t nScreenHeight) {
    return Point{NormaliseCoordinate(ptScreen.x, nScreenWidth),
                 NormaliseCoordinate(ptScreen.y, nScreenHeight)};
}
