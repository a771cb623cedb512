// Normalisation of screen points to absolute mouse coordinates.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/MouseNormalise.h"

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

Point Normalise(int32_t x, int32_t y) {
    return NormaliseAbsolute(Point{x, y}, kWidth, kHeight);
}

}  // namespace

TEST(MouseNormaliseOnScreen, EveryPixelLandsOnItselfForCommonScreenSizes) {
    for (const int32_t nExtent : {1, 7, 640, 768, 1024, 1080, 1280, 1366, 1920, 2160, 3840}) {
        for (int32_t x = -nExtent; x < 2 * nExtent; ++x) {
            const int32_t v = NormaliseAbsolute(Point{x, 0}, nExtent, 1).x;
            ASSERT_EQ(PixelOfAbsolute(v, nExtent), x) << "extent " << nExtent << ", v " << v;
            // The smallest such value: one less lands on the pixel before.
            ASSERT_EQ(PixelOfAbsolute(v - 1, nExtent), x - 1) << "extent " << nExtent;
        }
    }
}

TEST(MouseNormaliseOnScreen, CornersCentreAndLastPixel) {
    EXPECT_EQ(Normalise(0, 0), (Point{0, 0}));
    EXPECT_EQ(Normalise(1, 1), (Point{35, 61}));
    EXPECT_EQ(Normalise(960, 540), (Point{32768, 32768}));
    // The last column and row stay inside 0 ... 65535.
    EXPECT_EQ(Normalise(kWidth - 1, kHeight - 1), (Point{65502, 65476}));
    EXPECT_EQ(Normalise(kWidth, kHeight), (Point{65536, 65536}));
}

TEST(MouseNormaliseOffScreen, OutOfRangeResultsAreKept) {
    EXPECT_EQ(Normalise(-1, -1), (Point{-34, -60}));
    EXPECT_EQ(PixelOfAbsolute(-34, kWidth), -1);
    EXPECT_EQ(PixelOfAbsolute(-35, kWidth), -2);
    EXPECT_EQ(Normalise(-kWidth, -kHeight), (Point{-65536, -65536}));
    EXPECT_EQ(Normalise(2 * kWidth, 2 * kHeight), (Point{131072, 131072}));
}

TEST(MouseNormaliseOffScreen, LargeCoordinatesAreExactBeyondInt32Products) {
    // 32769 * 65536 does not fit in int32, yet the result is exact.
    EXPECT_EQ(Normalise(32769, -32769), (Point{1118516, -1988471}));
    EXPECT_EQ(Normalise(40000, -40000), (Point{1365334, -2427259}));
    EXPECT_EQ(NormaliseAbsolute(Point{kInt32Max, kInt32Min}, 65536, 65536),
              (Point{kInt32Max, kInt32Min}));
}

TEST(MouseNormaliseOffScreen, ResultsBeyondInt32Saturate) {
    EXPECT_EQ(Normalise(kInt32Max, kInt32Min), (Point{kInt32Max, kInt32Min}));
    EXPECT_EQ(PixelOfAbsolute(kInt32Max, kInt32Max), kInt32Max);
    EXPECT_EQ(PixelOfAbsolute(kInt32Min, kInt32Max), kInt32Min);
}

TEST(MouseNormaliseScreenSize, ZeroOrNegativeExtentGivesZeroForThatAxisOnly) {
    EXPECT_EQ(NormaliseAbsolute(Point{100, 540}, 0, kHeight), (Point{0, 32768}));
    EXPECT_EQ(NormaliseAbsolute(Point{960, 100}, kWidth, -1), (Point{32768, 0}));
    EXPECT_EQ(NormaliseAbsolute(Point{kInt32Min, kInt32Max}, kInt32Min, 0), (Point{0, 0}));
    EXPECT_EQ(PixelOfAbsolute(1000, 0), 0);
}
