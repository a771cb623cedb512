// The display scale: rounding at the common scalings and the 96-DPI identity.
#include "engine/DpiScale.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DpiScaleTest, RoundsToTheNearestPixelAtEveryCommonScaling) {
    struct Case {
        int nDpi;
        int nValue;
        int nScaled;
    };
    const Case cases[] = {
        // The panel's width and minimum height, a tile, the Play icon, a one-pixel line.
        {120, 130, 163},
        {144, 130, 195},
        {168, 130, 228},
        {192, 130, 260},
        {120, 200, 250},
        {144, 200, 300},
        {168, 200, 350},
        {192, 200, 400},
        {120, 102, 128},
        {144, 102, 153},
        {168, 102, 179},
        {192, 102, 204},
        {120, 1, 1},
        {144, 1, 2},
        {168, 1, 2},
        {192, 1, 2},
        {120, 24, 30},
        {144, 24, 36},
        {168, 24, 42},
        {192, 24, 48},
        // Halves away from zero, negative offsets alike.
        {144, 3, 5},
        {144, -3, -5},
        {120, -2, -3},
        {120, 0, 0},
    };
    for (const Case& c : cases) {
        const CDpiScale scale(c.nDpi);
        EXPECT_EQ(scale.Scale(c.nValue), c.nScaled) << c.nDpi << " dpi, " << c.nValue;
        // Going back gives the 96-DPI value again for every size the program draws.
        EXPECT_EQ(scale.Unscale(c.nScaled), c.nValue) << c.nDpi << " dpi, " << c.nScaled;
    }
}

TEST(DpiScaleTest, NinetySixDpiAndUnknownDpiLeaveEveryValueAsItIs) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    for (const int nDpi : {96, 0, -120}) {
        const CDpiScale scale(nDpi);
        EXPECT_TRUE(scale.IsIdentity());
        for (const int nValue : {0, 1, -1, 7, 130, 4095, kMax, kMin}) {
            EXPECT_EQ(scale.Scale(nValue), nValue);
            EXPECT_EQ(scale.Unscale(nValue), nValue);
        }
    }
    // Far values hold at the int32 limits instead of wrapping round.
    EXPECT_EQ(CDpiScale(192).Scale(kMax), kMax);
    EXPECT_EQ(CDpiScale(192).Scale(kMin), kMin);
    EXPECT_EQ(CDpiScale(144).Scale(Rect{-10, 4, 130, 500}), (Rect{-15, 6, 195, 750}));
}

}  // namespace
