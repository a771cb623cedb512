// The dimmed screen behind a target selection.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/Dimming.h"

namespace {

uint32_t Dimmed(uint32_t pixel) {
    PixelBuffer one(1, 1);
    one.Set(0, 0, pixel);
    DimPixels(one);
    return one.At(0, 0);
}

uint32_t Grey(uint8_t value) {
    return MakeBgr0(value, value, value);
}

}  // namespace

TEST(Dimming, KnownValues) {
    EXPECT_EQ(Dimmed(Grey(0)), Grey(64));
    EXPECT_EQ(Dimmed(Grey(255)), Grey(191));
    EXPECT_EQ(Dimmed(Grey(127)), Grey(128));
    EXPECT_EQ(Dimmed(Grey(128)), Grey(128));
    // The division truncates toward zero: 128 + (-127 * 50) / 100 = 128 - 63, not 128 - 64.
    EXPECT_EQ(Dimmed(Grey(1)), Grey(65));
    EXPECT_EQ(Dimmed(Grey(254)), Grey(191));
    // Channels are independent and the fourth byte is cleared.
    EXPECT_EQ(Dimmed(0xFF000000 | MakeBgr0(255, 0, 128)), MakeBgr0(191, 64, 128));
}

// Every value halves its distance from 128, rounding that distance down.
TEST(Dimming, EveryValueHalvesItsDistanceFromMidGrey) {
    PixelBuffer ramp(256, 3);  // odd sizes: the whole buffer is dimmed, whatever its shape
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t c = 0; c < 256; ++c) {
            ramp.Set(c, y, 0x5A000000 | Grey(static_cast<uint8_t>(c)));
        }
    }
    DimPixels(ramp);
    for (int32_t y = 0; y < 3; ++y) {
        for (int c = 0; c < 256; ++c) {
            const int distance = std::abs(c - 128) / 2;
            const int expected = c < 128 ? 128 - distance : 128 + distance;
            ASSERT_EQ(ramp.At(c, y), Grey(static_cast<uint8_t>(expected))) << c;
        }
    }
    PixelBuffer empty;
    DimPixels(empty);
    EXPECT_TRUE(empty.IsEmpty());
}
