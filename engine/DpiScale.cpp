// Scaling of 96-DPI sizes to the display's DPI.
#include "engine/DpiScale.h"

namespace {

// nValue * nNumerator / nDenominator rounded to nearest, halves away from zero; nDenominator > 0.
int MulDivRounded(int nValue, int nNumerator, int nDenominator) {
    const int64_t nProduct = int64_t{nValue} * nNumerator;
    const int64_t nHalf = nDenominator / 2;
    const int64_t nRounded =
        nProduct >= 0 ? (nProduct + nHalf) / nDenominator : -((-nProduct + nHalf) / nDenominator);
    return ClampToInt32(nRounded);
}

}  // namespace

int CDpiScale::Scale(int nValue) const {
    return MulDivRounded(nValue, m_nDpi, kBaseDpi);
}

Rect CDpiScale::Scale(const Rect& rc) const {
    return Rect{Scale(rc.left), Scale(rc.top), Scale(rc.right), Scale(rc.bottom)};
}

int CDpiScale::Unscale(int nValue) const {
    return MulDivRounded(nValue, kBaseDpi, m_nDpi);
}
