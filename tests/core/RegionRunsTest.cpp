// The rectangle runs of a key-colour picture and their batches.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/RegionRuns.h"
#include "tests/core/SearchTestUtil.h"

namespace {

std::vector<Rect> AllRects(const std::vector<RegionRunBatch>& batches) {
    std::vector<Rect> rects;
    for (const RegionRunBatch& batch : batches) {
        rects.insert(rects.end(), batch.rects.begin(), batch.rects.end());
    }
    return rects;
}

bool WithinBand(uint32_t pixel, uint32_t key) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int value = static_cast<int>((pixel >> shift) & 0xFF);
        const int centre = static_cast<int>((key >> shift) & 0xFF);
        if (value < centre - 16 || value > centre + 16) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(RegionRuns, AllTransparentGivesNoRectangle) {
    PixelBuffer picture = UniformPicture(9, 4, MakeBgr0(200, 16, 255));
    picture.Set(3, 2, MakeBgr0(216, 0, 239));  // every channel at the edge of its band
    EXPECT_TRUE(RegionRunsFromKeyColour(picture).empty());
    EXPECT_TRUE(RegionRunsFromKeyColour(PixelBuffer()).empty());
}

TEST(RegionRuns, OnlyTheKeyPixelTransparent) {
    PixelBuffer picture = UniformPicture(5, 3, MakeBgr0(0, 0, 0));
    picture.Set(0, 0, MakeBgr0(100, 100, 100));
    const auto batches = RegionRunsFromKeyColour(picture);
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].rects, (std::vector<Rect>{{1, 0, 5, 1}, {0, 1, 5, 2}, {0, 2, 5, 3}}));
    EXPECT_EQ(batches[0].bounds, (Rect{0, 0, 5, 3}));
}

TEST(RegionRuns, BandsAreClampedAndIncludeTheirEnds) {
    const uint32_t key = MakeBgr0(5, 250, 128);  // red [0, 21], green [234, 255], blue [112, 144]
    PixelBuffer picture(7, 1);
    picture.Set(0, 0, key);
    picture.Set(1, 0, MakeBgr0(0, 255, 112));   // transparent
    picture.Set(2, 0, MakeBgr0(22, 250, 128));  // opaque: red too far
    picture.Set(3, 0, MakeBgr0(21, 234, 144));  // transparent
    picture.Set(4, 0, MakeBgr0(5, 233, 128));   // opaque: green too far
    picture.Set(5, 0, MakeBgr0(5, 250, 145));   // opaque: blue too far
    picture.Set(6, 0, key | 0xFF000000);        // transparent: the fourth byte does not count
    const auto batches = RegionRunsFromKeyColour(picture);
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].rects, (std::vector<Rect>{{2, 0, 3, 1}, {4, 0, 6, 1}}));
}

TEST(RegionRuns, RunsNeverJoinAcrossRows) {
    // Opaque at the end of row 0 and the start of row 1: contiguous in memory, two rectangles.
    PixelBuffer picture = UniformPicture(4, 2, 0x00FFFFFF);
    picture.Set(3, 0, 0);
    picture.Set(0, 1, 0);
    picture.Set(2, 1, 0);
    EXPECT_EQ(AllRects(RegionRunsFromKeyColour(picture)),
              (std::vector<Rect>{{3, 0, 4, 1}, {0, 1, 1, 2}, {2, 1, 3, 2}}));
}

TEST(RegionRuns, BatchesHold2000RectanglesWithTheirBounds) {
    // Every other pixel opaque: 50 runs per row, 4500 runs in 90 rows.
    PixelBuffer picture = UniformPicture(100, 90, 0x00FFFFFF);
    for (int32_t y = 0; y < 90; ++y) {
        for (int32_t x = 1; x < 100; x += 2) {
            picture.Set(x, y, 0x00000080);
        }
    }
    const auto batches = RegionRunsFromKeyColour(picture);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].rects.size(), 2000u);
    EXPECT_EQ(batches[1].rects.size(), 2000u);
    EXPECT_EQ(batches[2].rects.size(), 500u);
    EXPECT_EQ(batches[0].bounds, (Rect{1, 0, 100, 40}));   // rows 0 ... 39
    EXPECT_EQ(batches[1].bounds, (Rect{1, 40, 100, 80}));  // rows 40 ... 79
    EXPECT_EQ(batches[2].bounds, (Rect{1, 80, 100, 90}));
    EXPECT_EQ(batches[1].rects.front(), (Rect{1, 40, 2, 41}));
}

// Random pictures of odd sizes: the rectangles cover exactly the opaque pixels, once each, every
// run is as long as it can be, and each batch's bounds enclose its rectangles tightly.
TEST(RegionRuns, RectanglesCoverExactlyTheOpaquePixels) {
    std::mt19937 random(4);
    const std::vector<uint32_t> palette = {0x00404040, 0x00505050, 0x00303030,
                                           0x00FFFFFF, 0x00000000, 0x00406080};
    for (int round = 0; round < 200; ++round) {
        const int32_t width = 1 + static_cast<int32_t>(random() % 37);
        const int32_t height = 1 + static_cast<int32_t>(random() % 29);
        const PixelBuffer picture = PalettePicture(width, height, palette, random);
        const auto batches = RegionRunsFromKeyColour(picture);
        std::vector<int> covered(static_cast<size_t>(width * height), 0);
        for (size_t b = 0; b < batches.size(); ++b) {
            const RegionRunBatch& batch = batches[b];
            ASSERT_FALSE(batch.rects.empty());
            EXPECT_LE(batch.rects.size(), kRegionRunsPerBatch);
            if (b + 1 < batches.size()) {
                EXPECT_EQ(batch.rects.size(), kRegionRunsPerBatch);
            }
            Rect bounds = {INT32_MAX, INT32_MAX, 0, 0};
            for (const Rect& rect : batch.rects) {
                ASSERT_EQ(rect.bottom, rect.top + 1);
                ASSERT_LT(rect.left, rect.right);
                for (int32_t x = rect.left; x < rect.right; ++x) {
                    ++covered[static_cast<size_t>(rect.top * width + x)];
                }
                const uint32_t key = picture.At(0, 0);
                EXPECT_TRUE(rect.left == 0 || WithinBand(picture.At(rect.left - 1, rect.top), key));
                EXPECT_TRUE(rect.right == width ||
                            WithinBand(picture.At(rect.right, rect.top), key));
                bounds = {std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                          std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom)};
            }
            EXPECT_EQ(batch.bounds, bounds);
        }
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const int expected = WithinBand(picture.At(x, y), picture.At(0, 0)) ? 0 : 1;
                ASSERT_EQ(covered[static_cast<size_t>(y * width + x)], expected)
                    << "pixel " << x << ", " << y << " of " << width << " x " << height;
            }
        }
    }
}
