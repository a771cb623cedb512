// Tests of the target picture shown by the tiles and the Target Editor, pixel by pixel.
#include "capture/TargetPicture.h"

#include "engine/BitmapEx.h"
#include "tests/core/ModelTestUtil.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct PlacementCase {
    int nTargetWidth;
    int nTargetHeight;
    Point64 ptTarget;
    Rect64 rcRing;
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

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Rectangles a damaged file may hold, read back from the file: the picture places the target
// and its ring by the rectangle's true size, and costs no more than the picture itself. Where
// the ring lies (clipped to the picture) and where the 20 x 10 target's top-left lands.
TEST(TargetPictureTest, StoredRectanglesUpToTheInt32LimitsArePlacedByTheirTrueSize) {
    struct Case {
        Rect rcStored;
        Rect rcRing;
        Point ptTarget;
    };
    const Point kOff{-1000, -1000};  // the target lies wholly outside the picture
    const Case cases[] = {
        {{kMin, kMin, kMax, kMax}, {0, 0, 102, 64}, kOff},       // 2^32 - 1 both ways
        {{0, 0, kMax, kMax}, {0, 0, 102, 64}, kOff},             // INT_MAX both ways
        {{0, 0, kMax, 10}, {0, 27, 102, 39}, kOff},              // INT_MAX wide
        {{kMin, 0, kMax, 10}, {0, 27, 102, 39}, kOff},           // 2^32 - 1 wide
        {{0, 0, 1000000, 10}, {0, 27, 102, 39}, kOff},           // a million wide
        {{kMax, kMax, kMin, kMin}, {0, 0, 0, 0}, kOff},          // negative both ways
        {{0, 10, kMax, 0}, {0, 0, 0, 0}, kOff},                  // negative height
        {{30, 40, 20, 30}, {0, 0, 0, 0}, kOff},                  // -10 x -10
        {{7, 7, 7, 7}, {50, 32, 52, 34}, kOff},                  // 0 x 0: the ring alone
        {{kMax, kMin, kMax, kMin}, {50, 32, 52, 34}, kOff},      // 0 x 0 at the limits
        {{kMax - 20, 0, kMax, 10}, {40, 27, 62, 39}, {41, 28}},  // captured at the edge
    };
    for (const Case& c : cases) {
        CTargetObjList list;
        list.AddTail(MakeTarget(u"damaged", 20, 10, 11));
        list.begin()->get()->m_rcTarget = c.rcStored;
        const std::vector<uint8_t> bytes = WriteToBytes(list);
        const std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(bytes);
        const CTargetObj& target = **loaded->begin();
        ASSERT_EQ(target.m_rcTarget, c.rcStored);

        const TargetThumbnails thumbs = MakeThumbnailsOf(target);
        const PixelBuffer picture = ComposePictureOfTarget(102, 64, target, thumbs);
        const PixelBuffer& pixels = *target.m_bmpTarget.Pixels();
        ASSERT_EQ(picture.Width(), 102);
        ASSERT_EQ(picture.Height(), 64);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 102; ++x) {
                const int xTarget = x - c.ptTarget.x;
                const int yTarget = y - c.ptTarget.y;
                uint32_t expected = 0;
                if (IsBorder(x, y, 0)) {
                    expected = kTargetFrameBgr0;
                } else if (IsBorder(x, y, 1)) {
                    expected = kWhiteBgr0;
                } else if (xTarget >= 0 && xTarget < 20 && yTarget >= 0 && yTarget < 10) {
                    expected = pixels.At(xTarget, yTarget);
                } else if (x >= c.rcRing.left && x < c.rcRing.right && y >= c.rcRing.top &&
                           y < c.rcRing.bottom) {
                    expected = thumbs.highlighted.At(x - 1, y + 17);
                } else {
                    expected = thumbs.plain.At(x - 1, y + 17);
                }
                ASSERT_EQ(picture.At(x, y), expected)
                    << "pixel " << x << "," << y << " of " << c.rcStored.left << ", "
                    << c.rcStored.top << ", " << c.rcStored.right << ", " << c.rcStored.bottom;
            }
        }
        EXPECT_EQ(WriteToBytes(*loaded), bytes) << "the stored rectangle must be kept as read";
    }
}

}  // namespace
