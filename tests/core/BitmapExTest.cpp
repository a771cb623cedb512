// The bitmap filters behind the target thumbnails: loading, blur, tint, inversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "engine/BitmapEx.h"
#include "tests/core/SearchTestUtil.h"

namespace {

uint32_t Bgr0(uint8_t red, uint8_t green, uint8_t blue) {
    return MakeBgr0(red, green, blue);
}

CBitmapEx Loaded(const PixelBuffer& topDown) {
    CBitmapEx bitmap;
    EXPECT_TRUE(bitmap.LoadFromPixels(topDown));
    return bitmap;
}

PixelBuffer Blurred(const PixelBuffer& topDown) {
    CBitmapEx bitmap = Loaded(topDown);
    bitmap.Blur3x3();
    return bitmap.ToTopDownPixels();
}

PixelBuffer RandomColours(int32_t width, int32_t height, std::mt19937& random) {
    PixelBuffer pixels(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pixels.Set(x, y, static_cast<uint32_t>(random()));  // fourth byte too
        }
    }
    return pixels;
}

// The blur computed another way: a [1 2 1] pass along the rows, then one down the columns, both
// repeating the edge pixels; the sums are the same integers, so only the final division rounds.
PixelBuffer SeparableBlur(const PixelBuffer& in) {
    const int32_t w = in.Width();
    const int32_t h = in.Height();
    const auto clampX = [&](int32_t x) { return std::clamp(x, 0, w - 1); };
    const auto clampY = [&](int32_t y) { return std::clamp(y, 0, h - 1); };
    std::vector<int> across(static_cast<size_t>(w * h * 3));
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                const auto value = [&](int32_t at) {
                    return static_cast<int>((in.At(clampX(at), y) >> (8 * channel)) & 0xFF);
                };
                across[static_cast<size_t>((y * w + x) * 3 + channel)] =
                    value(x - 1) + 2 * value(x) + value(x + 1);
            }
        }
    }
    PixelBuffer out(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint32_t pixel = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const auto value = [&](int32_t at) {
                    return across[static_cast<size_t>((clampY(at) * w + x) * 3 + channel)];
                };
                const int sum = value(y - 1) + 2 * value(y) + value(y + 1);
                pixel |= static_cast<uint32_t>(sum / 16) << (8 * channel);
            }
            out.Set(x, y, pixel);
        }
    }
    return out;
}

// floor(a / b) for b > 0, whatever the sign of a.
int FloorDivide(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

TEST(BitmapExLoad, ConvertsRowsTo32BitsBottomUp) {
    // 3 x 2 pixels of 24 bits: rows of 9 bytes padded to 12, top row first.
    const std::vector<uint8_t> rows = {
        1,  2,  3,  4,  5,  6,  7,  8,  9,  0xEE, 0xEE, 0xEE,  // top row
        10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE,
    };
    CBitmapEx bitmap;
    ASSERT_TRUE(bitmap.LoadFromRows(3, 2, 24, 12, rows));
    EXPECT_EQ(bitmap.BitsPerPixel(), 32);
    EXPECT_EQ(bitmap.Stride(), 12u);
    EXPECT_EQ(bitmap.ImageSize(), 24u);
    const std::vector<uint8_t> bottomUp(bitmap.Data(), bitmap.Data() + bitmap.ImageSize());
    EXPECT_EQ(bottomUp, (std::vector<uint8_t>{10, 11, 12, 0, 13, 14, 15, 0, 16, 17, 18, 0,  //
                                              1,  2,  3,  0, 4,  5,  6,  0, 7,  8,  9,  0}));
    EXPECT_EQ(bitmap.ToTopDownPixels().At(1, 0), Bgr0(6, 5, 4));

    // 32 bits: all four bytes are copied; 16 bits: 5-bit fields widened, 31 to 255.
    const std::vector<uint8_t> wide = {1, 2, 3, 4};
    ASSERT_TRUE(bitmap.LoadFromRows(1, 1, 32, 4, wide));
    EXPECT_EQ(std::vector<uint8_t>(bitmap.Data(), bitmap.Data() + 4), wide);
    const uint16_t value = (31 << 10) | (16 << 5) | 1;  // red 31, green 16, blue 1
    const std::vector<uint8_t> narrow = {static_cast<uint8_t>(value), value >> 8, 0xAA, 0xAA};
    ASSERT_TRUE(bitmap.LoadFromRows(1, 1, 16, 4, narrow));
    EXPECT_EQ(std::vector<uint8_t>(bitmap.Data(), bitmap.Data() + 4),
              (std::vector<uint8_t>{8, 132, 255, 0}));
}

TEST(BitmapExLoad, RejectsWhatItCannotHold) {
    const std::vector<uint8_t> bytes(64, 7);
    CBitmapEx bitmap;
    ASSERT_TRUE(bitmap.LoadFromRows(2, 2, 32, 8, bytes));
    EXPECT_FALSE(bitmap.LoadFromRows(2, 2, 8, 8, bytes));  // palette pictures are not loaded
    EXPECT_TRUE(bitmap.IsEmpty());                         // and the old picture is gone
    EXPECT_FALSE(bitmap.LoadFromRows(2, 2, 1, 8, bytes));
    EXPECT_FALSE(bitmap.LoadFromRows(3, 2, 32, 8, bytes));  // stride shorter than a row
    EXPECT_FALSE(bitmap.LoadFromRows(2, 9, 32, 8, bytes));  // fewer bytes than rows
    EXPECT_FALSE(bitmap.LoadFromRows(0, 2, 32, 8, bytes));
    EXPECT_FALSE(bitmap.LoadFromPixels(PixelBuffer()));
    EXPECT_TRUE(bitmap.IsEmpty());
    // Filters on an empty object do nothing.
    bitmap.Blur3x3();
    bitmap.TintTowardsCyan();
    bitmap.InvertColours();
    bitmap.FlipRows();
    bitmap.ConvertTo32Bits();
    EXPECT_TRUE(bitmap.IsEmpty());
    EXPECT_TRUE(bitmap.ToTopDownPixels().IsEmpty());
}

TEST(BitmapExFlip, ReversesTheRowsAndTwiceRestoresThem) {
    std::mt19937 random(1);
    for (const int32_t height : {1, 2, 3, 6, 7}) {
        const PixelBuffer picture = RandomColours(3, height, random);
        CBitmapEx bitmap = Loaded(picture);
        bitmap.FlipRows();
        // The rows are top-down in memory now, so "ToTopDownPixels" shows them upside down.
        const PixelBuffer flipped = bitmap.ToTopDownPixels();
        for (int32_t y = 0; y < height; ++y) {
            EXPECT_EQ(flipped.At(2, y), picture.At(2, height - 1 - y)) << height;
        }
        bitmap.FlipRows();
        EXPECT_EQ(bitmap.ToTopDownPixels(), picture);
    }
}

TEST(BitmapExBlur, KnownValues) {
    PixelBuffer dot = UniformPicture(5, 5, 0);
    dot.Set(2, 2, 0x00FFFFFF);
    const PixelBuffer blurredDot = Blurred(dot);
    EXPECT_EQ(blurredDot.At(2, 2), Bgr0(63, 63, 63));
    for (const Point edge : {Point{1, 2}, Point{3, 2}, Point{2, 1}, Point{2, 3}}) {
        EXPECT_EQ(blurredDot.At(edge.x, edge.y), Bgr0(31, 31, 31));
    }
    for (const Point corner : {Point{1, 1}, Point{3, 1}, Point{1, 3}, Point{3, 3}}) {
        EXPECT_EQ(blurredDot.At(corner.x, corner.y), Bgr0(15, 15, 15));
    }
    EXPECT_EQ(blurredDot.At(0, 0), 0u);
    EXPECT_EQ(blurredDot.At(4, 2), 0u);
    // At a corner the outside neighbours repeat the pixel: weights 4 + 2 + 2 + 1 = 9.
    PixelBuffer cornerDot = UniformPicture(3, 3, 0);
    cornerDot.Set(0, 0, Bgr0(0, 0, 255));
    EXPECT_EQ(Blurred(cornerDot).At(0, 0), Bgr0(0, 0, 143));
    // One colour, and a single pixel, blur to themselves; the fourth byte becomes 0.
    EXPECT_EQ(Blurred(UniformPicture(7, 3, 0xFF123456)), UniformPicture(7, 3, 0x00123456));
    EXPECT_EQ(Blurred(UniformPicture(1, 1, 0x7F00FF80)), UniformPicture(1, 1, 0x0000FF80));
}

// Odd shapes, where the edge rules do all the work: 1 x 1, single rows and columns, widths that
// are not multiples of 4.
TEST(BitmapExBlur, MatchesASeparableBlurOnOddSizes) {
    std::mt19937 random(2);
    std::vector<Point> sizes = {{1, 1}, {1, 2}, {2, 1}, {1, 9}, {9, 1}, {3, 3}, {5, 2}, {7, 7}};
    for (int i = 0; i < 40; ++i) {
        sizes.push_back(
            {1 + static_cast<int32_t>(random() % 23), 1 + static_cast<int32_t>(random() % 17)});
    }
    for (const Point size : sizes) {
        const PixelBuffer picture = RandomColours(size.x, size.y, random);
        const PixelBuffer blurred = Blurred(picture);
        ASSERT_EQ(blurred, SeparableBlur(picture)) << size.x << " x " << size.y;
        // Mirroring commutes with the symmetric weights.
        PixelBuffer mirrored(size.x, size.y);
        for (int32_t y = 0; y < size.y; ++y) {
            for (int32_t x = 0; x < size.x; ++x) {
                mirrored.Set(size.x - 1 - x, size.y - 1 - y, picture.At(x, y));
            }
        }
        const PixelBuffer blurredMirror = Blurred(mirrored);
        EXPECT_EQ(blurredMirror.At(0, 0), blurred.At(size.x - 1, size.y - 1));
    }
}

TEST(BitmapExTint, KnownValuesAndInversion) {
    CBitmapEx bitmap = Loaded(PixelBuffer(2, 1));
    std::memcpy(bitmap.Data(), "\xFF\xFF\xFF\x55\x00\x00\x00\x66", 8);  // white, black
    bitmap.TintTowardsCyan();
    EXPECT_EQ(bitmap.ToTopDownPixels().At(0, 0), Bgr0(90, 246, 255));
    EXPECT_EQ(bitmap.ToTopDownPixels().At(1, 0), Bgr0(0, 155, 164));
    bitmap.InvertColours();
    EXPECT_EQ(bitmap.ToTopDownPixels().At(0, 0), Bgr0(165, 9, 0));
    EXPECT_EQ(bitmap.ToTopDownPixels().At(1, 0), Bgr0(255, 100, 91));
}

// Every channel value, against the rule written with a flooring division: green above 242 and
// nothing else moves down, and the fourth byte is cleared by the tint, kept by the inversion.
TEST(BitmapExTint, EveryChannelValueFollowsTheFlooringRule) {
    PixelBuffer ramp(256, 1);
    for (int32_t c = 0; c < 256; ++c) {
        ramp.Set(c, 0,
                 0xAB000000 | Bgr0(static_cast<uint8_t>(c), static_cast<uint8_t>(c),
                                   static_cast<uint8_t>(c)));
    }
    CBitmapEx bitmap = Loaded(ramp);
    bitmap.InvertColours();
    bitmap.InvertColours();
    EXPECT_EQ(bitmap.ToTopDownPixels(), ramp);
    bitmap.TintTowardsCyan();
    const PixelBuffer tinted = bitmap.ToTopDownPixels();
    for (int c = 0; c < 256; ++c) {
        const int red = c + FloorDivide(165 * (0 - c), 256);
        const int green = c + FloorDivide(165 * (242 - c), 256);
        const int blue = c + FloorDivide(165 * (255 - c), 256);
        EXPECT_EQ(tinted.At(c, 0), Bgr0(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                                        static_cast<uint8_t>(blue)))
            << c;
    }
}

// On any shape, each highlighted pixel is the plain one tinted and inverted, by the rule the
// tint test checks value by value.
TEST(TargetThumbnails, HighlightedIsThePlainPictureTintedAndInvertedOnOddSizes) {
    std::mt19937 random(3);
    for (const Point size : {Point{1, 1}, Point{1, 7}, Point{7, 1}, Point{3, 5}, Point{13, 6}}) {
        const TargetThumbnails thumbnails =
            MakeTargetThumbnails(RandomColours(size.x, size.y, random));
        ASSERT_EQ(thumbnails.plain.Width(), size.x);
        ASSERT_EQ(thumbnails.highlighted.Height(), size.y);
        for (int32_t y = 0; y < size.y; ++y) {
            for (int32_t x = 0; x < size.x; ++x) {
                const uint32_t plain = thumbnails.plain.At(x, y);
                const int red = static_cast<int>((plain >> 16) & 0xFF);
                const int green = static_cast<int>((plain >> 8) & 0xFF);
                const int blue = static_cast<int>(plain & 0xFF);
                const uint32_t expected = Bgr0(
                    static_cast<uint8_t>(255 - (red + FloorDivide(165 * -red, 256))),
                    static_cast<uint8_t>(255 - (green + FloorDivide(165 * (242 - green), 256))),
                    static_cast<uint8_t>(255 - (blue + FloorDivide(165 * (255 - blue), 256))));
                EXPECT_EQ(thumbnails.highlighted.At(x, y), expected) << x << ", " << y;
            }
        }
    }
}

TEST(TargetThumbnails, PlainIsBlurredAndHighlightedIsTintedAndInverted) {
    const TargetThumbnails white = MakeTargetThumbnails(UniformPicture(100, 100, 0x00FFFFFF));
    EXPECT_EQ(white.plain, UniformPicture(100, 100, 0x00FFFFFF));
    EXPECT_EQ(white.highlighted, UniformPicture(100, 100, Bgr0(165, 9, 0)));

    // Rows keep their order: a picture with a bright top row stays bright on top.
    PixelBuffer area = UniformPicture(4, 6, 0);
    for (int32_t x = 0; x < 4; ++x) {
        area.Set(x, 0, 0x00FFFFFF);
    }
    const TargetThumbnails thumbnails = MakeTargetThumbnails(area);
    EXPECT_EQ(thumbnails.plain, Blurred(area));
    EXPECT_EQ(thumbnails.plain.At(0, 0), Bgr0(191, 191, 191));  // (4 + 2 + 2 + 4) / 16 of 255
    EXPECT_EQ(thumbnails.plain.At(0, 5), 0u);
    EXPECT_EQ(thumbnails.highlighted.At(0, 5), Bgr0(255, 100, 91));

    const TargetThumbnails none = MakeTargetThumbnails(PixelBuffer());
    EXPECT_TRUE(none.plain.IsEmpty());
    EXPECT_TRUE(none.highlighted.IsEmpty());
}
