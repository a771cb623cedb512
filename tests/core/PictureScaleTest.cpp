// Tests of resizing pictures for the display's scale: blocks at whole factors, blending between.
#include "engine/PictureScale.h"

#include <gtest/gtest.h>

namespace {

uint32_t Grey(uint8_t v) {
    return MakeBgr0(v, v, v);
}

PixelBuffer Numbered(int32_t nWidth, int32_t nHeight) {
    PixelBuffer picture(nWidth, nHeight);
    for (int32_t y = 0; y < nHeight; ++y) {
        for (int32_t x = 0; x < nWidth; ++x) {
            picture.Set(x, y, static_cast<uint32_t>(y * 100 + x + 1));
        }
    }
    return picture;
}

TEST(PictureScaleTest, WholeFactorsMakeBlocksOfEachPixel) {
    struct Case {
        int32_t nWidth;
        int32_t nHeight;
    };
    const PixelBuffer source = Numbered(3, 2);
    for (const Case c : {Case{3, 2}, Case{6, 4}, Case{6, 6}, Case{9, 2}}) {
        const PixelBuffer scaled = ScalePicture(source, c.nWidth, c.nHeight);
        ASSERT_EQ(scaled.Width(), c.nWidth);
        ASSERT_EQ(scaled.Height(), c.nHeight);
        const int32_t fx = c.nWidth / 3;
        const int32_t fy = c.nHeight / 2;
        for (int32_t y = 0; y < c.nHeight; ++y) {
            for (int32_t x = 0; x < c.nWidth; ++x) {
                ASSERT_EQ(scaled.At(x, y), source.At(x / fx, y / fy))
                    << c.nWidth << "x" << c.nHeight << " at " << x << "," << y;
            }
        }
    }
}

TEST(PictureScaleTest, FractionalFactorsBlendNeighboursAndKeepTheEnds) {
    PixelBuffer source(2, 1);
    source.Set(0, 0, Grey(0));
    source.Set(1, 0, Grey(255));
    const PixelBuffer row = ScalePicture(source, 5, 1);
    const uint8_t expected[] = {0, 25, 128, 229, 255};
    for (int32_t x = 0; x < 5; ++x) {
        EXPECT_EQ(row.At(x, 0), Grey(expected[x])) << x;
    }
    // Each channel on its own: red falls while green rises, blue stays.
    source.Set(0, 0, MakeBgr0(255, 0, 100));
    source.Set(1, 0, MakeBgr0(0, 255, 100));
    EXPECT_EQ(ScalePicture(source, 5, 3).At(2, 1), MakeBgr0(128, 128, 100));
    EXPECT_EQ(ScalePicture(source, 5, 3).At(1, 2), MakeBgr0(230, 25, 100));
}

TEST(PictureScaleTest, NothingToScaleGivesAnEmptyPicture) {
    EXPECT_TRUE(ScalePicture(PixelBuffer(), 10, 10).IsEmpty());
    EXPECT_TRUE(ScalePicture(Numbered(2, 2), 0, 4).IsEmpty());
    EXPECT_TRUE(ScalePicture(Numbered(2, 2), 4, -1).IsEmpty());
}

}  // namespace
