// Tests of the target picture shown by the tiles and the Target Editor, pixel by pixel.
#include "capture/TargetPicture.h"

#include "engine/BitmapEx.h"
#include "tests/core/ModelTestUtil.h"

#include <gtest/gtest.h>

namespace {

struct PlacementCase {
    int nTargetWidth;
    int nTargetHeight;
    Point ptTarget;
    Rect rcRing;
};

TEST(TargetPictureTest, PlacementCentresTheTargetAndItsRing) {
    const PlacementCase cases[] = {
        {20, 10, {41, 28}, {40, 27, 62, 39}},
        {21, 11, {41, 28}, {40, 27, 63, 40}},  // odd sizes round the half toward zero
        {1, 1, {51, 33}, {50, 32, 53, 35}},
        {120, 80, {-9, -7}, {-10, -8, 112, 74}},  // larger than the tile: cut by the frame
    };
    for (const PlacementCase& c : cases) {
        const TargetPicturePlacement placement =
            PlaceTargetPicture(102, 64, c.nTargetWidth, c.nTargetHeight);
        EXPECT_EQ(placement.ptTarget, c.ptTarget) << c.nTargetWidth << "x" << c.nTargetHeight;
        EXPECT_EQ(placement.rcRing, c.rcRing) << c.nTargetWidth << "x" << c.nTargetHeight;
    }
}

// The area picture a capture gives: the target in the middle of its surroundings.
PixelBuffer AreaAround(const PixelBuffer& target, uint32_t seed) {
    PixelBuffer area = RandomPicture(100, 100, seed);
    const int nLeft = 50 - target.Width() / 2;
    const int nTop = 50 - target.Height() / 2;
    for (int y = 0; y < target.Height(); ++y) {
        for (int x = 0; x < target.Width(); ++x) {
            area.Set(nLeft + x, nTop + y, target.At(x, y));
        }
    }
    return area;
}

bool IsBorder(int x, int y, int nInset) {
    return x == nInset || y == nInset || x == 101 - nInset || y == 63 - nInset;
}

TEST(TargetPictureTest, TwentyByTenTargetIsSharpInsideItsRingOverTheSoftenedArea) {
    const PixelBuffer target = RandomPicture(20, 10, 7);
    const TargetThumbnails thumbs = MakeTargetThumbnails(AreaAround(target, 8));
    const PixelBuffer picture = ComposeTargetPicture(
        102, 64, {20, 10, &target, &thumbs.plain, &thumbs.highlighted, nullptr});
    ASSERT_EQ(picture.Width(), 102);
    ASSERT_EQ(picture.Height(), 64);
    // Every pixel read from where it lies in the area picture: the tile shows area (x - 1, y + 17).
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 102; ++x) {
            uint32_t expected = 0;
            if (IsBorder(x, y, 0)) {
                expected = kTargetFrameBgr0;
            } else if (IsBorder(x, y, 1)) {
                expected = kWhiteBgr0;
            } else if (x >= 41 && x < 61 && y >= 28 && y < 38) {
                expected = target.At(x - 41, y - 28);
            } else if (x >= 40 && x < 62 && y >= 27 && y < 39) {
                expected = thumbs.highlighted.At(x - 1, y + 17);
            } else {
                expected = thumbs.plain.At(x - 1, y + 17);
            }
            ASSERT_EQ(picture.At(x, y), expected) << "pixel " << x << "," << y;
        }
    }
}

TEST(TargetPictureTest, MissingThumbnailsLeaveWhiteAndABigTargetNeverCoversTheFrame) {
    const PixelBuffer target = RandomPicture(120, 80, 3);
    const PixelBuffer badge = RandomPicture(16, 16, 4);
    const PixelBuffer picture =
        ComposeTargetPicture(102, 64, {120, 80, &target, nullptr, nullptr, &badge});
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 102; ++x) {
            uint32_t expected = target.At(x + 9, y + 7);
            if (IsBorder(x, y, 0)) {
                expected = kTargetFrameBgr0;
            } else if (IsBorder(x, y, 1)) {
                expected = kWhiteBgr0;
            } else if (x >= 79 && x < 95 && y >= 5 && y < 21) {
                expected = badge.At(x - 79, y - 5);
            }
            ASSERT_EQ(picture.At(x, y), expected) << "pixel " << x << "," << y;
        }
    }
    // Without any picture: a white inside in the frame.
    const PixelBuffer blank = ComposeTargetPicture(102, 64, {20, 10, nullptr, nullptr, nullptr});
    EXPECT_EQ(blank.At(0, 0), kTargetFrameBgr0);
    EXPECT_EQ(blank.At(50, 30), kWhiteBgr0);
}

}  // namespace
