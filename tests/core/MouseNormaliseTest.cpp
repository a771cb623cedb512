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

TEST(MouseNormaliseOnScreen, CornersAndLastPixel) {
    EXPECT_EQ(Normalise(0, 0), (Point{0, 0}));
    // 65535, not 65536: the last column and row stay just below the top of the range.
    EXPECT_EQ(Normalise(kWidth - 1, kHeight - 1), (Point{65500, 65474}));
    EXPECT_EQ(Normalise(kWidth, kHeight), (Point{65535, 65535}));
    EXPECT_EQ(Normalise(960, 540), (Point{32767, 32767}));
    EXPECT_EQ(NormaliseAbsolute(Point{1, 1}, 1, 1), (Point{65535, 65535}));
}

TEST(MouseNormaliseOffScreen, OutOfRangeResultsAreKept) {
    // Truncation toward zero: -1 * 65535 / 1920 is -34.1, not -35.
    EXPECT_EQ(Normalise(-1, -1), (Point{-34, -60}));
    EXPECT_EQ(Normalise(-kWidth, -kHeight), (Point{-65535, -65535}));
    EXPECT_EQ(Normalise(2 * kWidth, 2 * kHeight), (Point{131070, 131070}));
}

TEST(MouseNormaliseOffScreen, LargeCoordinatesAreExactBeyondInt32Products) {
    // 32768 * 65535 still fits in int32; 32769 * 65535 does not, yet the result is exact.
    EXPECT_EQ(Normalise(32768, -32768), (Point{1118464, -1988380}));
    EXPECT_EQ(Normalise(32769, -32769), (Point{1118498, -1988441}));
    EXPECT_EQ(Normalise(40000, -40000), (Point{1365312, -2427222}));
    EXPECT_EQ(NormaliseAbsolute(Point{kInt32Max, kInt32Min}, 65535, 65535),
              (Point{kInt32Max, kInt32Min}));
}

TEST(MouseNormaliseOffScreen, ResultsBeyondInt32Saturate) {
    EXPECT_EQ(Normalise(kInt32Max, kInt32Min), (Point{kInt32Max, kInt32Min}));
    EXPECT_EQ(NormaliseAbsolute(Point{kInt32Max, kInt32Min}, 65534, 65534),
              (Point{kInt32Max, kInt32Min}));
}

TEST(MouseNormaliseScreenSize, ZeroOrNegativeExtentGivesZeroForThatAxisOnly) {
    EXPECT_EQ(NormaliseAbsolute(Point{100, 540}, 0, kHeight), (Point{0, 32767}));
    EXPECT_EQ(NormaliseAbsolute(Point{960, 100}, kWidth, -1), (Point{32767, 0}));
    EXPECT_EQ(NormaliseAbsolute(Point{kInt32Min, kInt32Max}, kInt32Min, 0), (Point{0, 0}));
}
