// Sizes drawn for the display's scale: the program's own drawing is laid out in 96-DPI pixels
// and scaled once, here. Platform-free.
#pragma once

#include "engine/PixelBuffer.h"

// The DPI at which every size is given: 100 % scaling.
inline constexpr int kBaseDpi = 96;

// One display scale. At 96 DPI every value stays exactly as given.
class CDpiScale {
public:
    // A DPI of zero or less (a system that cannot tell) counts as 96.
    explicit CDpiScale(int nDpi = kBaseDpi) : m_nDpi(nDpi > 0 ? nDpi : kBaseDpi) {}

    int Dpi() const { return m_nDpi; }
    bool IsIdentity() const { return m_nDpi == kBaseDpi; }

    // `nValue` 96-DPI pixels at this scale, rounded to the nearest pixel, halves away from zero
    // (as MulDiv rounds): 130 is 163 at 120 DPI, 195 at 144, 228 at 168 and 260 at 192. The
    // arithmetic is 64-bit and the result held within int32.
    int Scale(int nValue) const;
    Point Scale(Point pt) const { return Point{Scale(pt.x), Scale(pt.y)}; }
    Rect Scale(const Rect& rc) const;

    // Back from this scale to 96-DPI pixels, rounded the same way.
    int Unscale(int nValue) const;

    friend bool operator==(const CDpiScale&, const CDpiScale&) = default;

private:
    int m_nDpi;
};
