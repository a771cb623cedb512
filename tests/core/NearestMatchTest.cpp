// The nearest place of a picture: the rules on hand-made screens, and the pruned search against
// the plain scan on random and adversarial ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "engine/NearestMatch.h"
#include "engine/PictureSearch.h"
#include "tests/core/SearchTestUtil.h"

namespace {

// `pixel` with its blue byte moved by `delta` (which stays within 0 … 255).
uint32_t MoveBlue(uint32_t pixel, int32_t delta) {
    const int32_t blue = static_cast<int32_t>(pixel & 0xFF);
    const int32_t moved = blue + delta <= 255 ? blue + delta : blue - delta;
    return (pixel & 0xFFFFFF00) | static_cast<uint32_t>(moved);
}

void ExpectBothGive(const PixelBuffer& screen, const PixelBuffer& picture,
                    const std::optional<NearestMatch>& expected) {
    const auto reference = FindNearestMatchReference(screen, picture);
    const auto fast = FindNearestMatch(screen, picture);
    EXPECT_EQ(reference.has_value(), expected.has_value());
    EXPECT_EQ(fast.has_value(), expected.has_value());
    if (expected && reference && fast) {
        EXPECT_EQ(*reference, *expected);
        EXPECT_EQ(*fast, *expected);
    }
}

}  // namespace

TEST(NearestMatchTest, RulesOnHandMadeScreens) {
    std::mt19937 random(7);
    const PixelBuffer white = UniformPicture(30, 20, 0x00FFFFFF);
    // No place at all.
    ExpectBothGive(white, PixelBuffer(), std::nullopt);
    ExpectBothGive(white, PixelBuffer(0, 5), std::nullopt);
    ExpectBothGive(white, UniformPicture(31, 2, 0x00FFFFFF), std::nullopt);
    ExpectBothGive(white, UniformPicture(2, 21, 0x00FFFFFF), std::nullopt);

    // Every place has one differing pixel: the tie goes to the exact search's first place,
    // bottom-most then leftmost.
    PixelBuffer oneOff = UniformPicture(4, 3, 0x00FFFFFF);
    oneOff.Set(2, 0, 0x00FFF8FF);
    ExpectBothGive(white, oneOff, NearestMatch{{0, 17}, 1, 12, 7});

    // Every white place ties with the place near the top that shows the red corner beside a
    // black pixel. The first of them in the search's order has neighbours to its right that
    // differ more, which must not hide it; the screen is large enough that the bottom rows are
    // left to the full scan.
    PixelBuffer specked = UniformPicture(400, 120, 0x00FFFFFF);
    for (int32_t x = 4; x <= 10; ++x) {
        specked.Set(x, 119, 0);
    }
    specked.Set(300, 2, 0x00FF0000);
    specked.Set(301, 2, 0);
    PixelBuffer redCorner = UniformPicture(4, 3, 0x00FFFFFF);
    redCorner.Set(0, 0, 0x00FF0000);
    ExpectBothGive(specked, redCorner, NearestMatch{{0, 117}, 1, 12, 255});

    // A picture as large as the screen has one place.
    PixelBuffer whole = white;
    whole.Set(29, 19, 0x00102030);
    whole.Set(0, 0, 0x00FFFF00);
    ExpectBothGive(white, whole, NearestMatch{{0, 0}, 2, 600, 255});

    // Shown twice: the exact search's place with no differing pixel.
    PixelBuffer screen = NoisePicture(60, 40, random);
    const PixelBuffer shown = NoisePicture(6, 5, random);
    Paste(screen, shown, 40, 10);
    Paste(screen, shown, 3, 30);
    ASSERT_EQ(FindPictureReference(screen, shown), (Point{3, 30}));
    ExpectBothGive(screen, shown, NearestMatch{{3, 30}, 0, 30, 0});

    // The fourth byte is no colour, on either side.
    PixelBuffer scrambled = screen;
    ScrambleFourthByte(scrambled, random);
    PixelBuffer scrambledPicture = shown;
    ScrambleFourthByte(scrambledPicture, random);
    ExpectBothGive(scrambled, scrambledPicture, NearestMatch{{3, 30}, 0, 30, 0});

    // Three pixels changed, one in the top row: found where it was cut, with its largest change.
    PixelBuffer changed = Cut(screen, 21, 4, 10, 8);
    changed.Set(0, 0, MoveBlue(changed.At(0, 0), 30));
    changed.Set(9, 3, MoveBlue(changed.At(9, 3), 90));
    changed.Set(4, 7, MoveBlue(changed.At(4, 7), 60));
    ExpectBothGive(screen, changed, NearestMatch{{21, 4}, 3, 80, 90});
}

TEST(NearestMatchTest, PrunedSearchGivesThePlainScansAnswer) {
    std::mt19937 random(20261209);
    const std::vector<std::vector<uint32_t>> palettes = {
        {0x000000, 0xFFFFFF},
        {0x000000, 0xFFFFFF, 0x808080},
        {0x112233, 0x112234, 0x445566, 0xFFFFFF, 0x000001}};
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const int32_t screenWidth = 1 + static_cast<int32_t>(random() % 48);
        const int32_t screenHeight = 1 + static_cast<int32_t>(random() % 36);
        const int32_t width = 1 + static_cast<int32_t>(random() % std::min(screenWidth + 1, 10));
        const int32_t height = 1 + static_cast<int32_t>(random() % std::min(screenHeight + 1, 8));
        const auto& palette = palettes[random() % palettes.size()];
        PixelBuffer screen;
        PixelBuffer picture;
        switch (round % 5) {
            case 0:  // few colours: many places tie
                screen = PalettePicture(screenWidth, screenHeight, palette, random);
                picture = PalettePicture(width, height, palette, random);
                break;
            case 1:  // a piece of the screen with a few pixels changed, often near its top
                screen = NoisePicture(screenWidth, screenHeight, random);
                if (width <= screenWidth && height <= screenHeight) {
                    picture =
                        Cut(screen, static_cast<int32_t>(random() % (screenWidth - width + 1)),
                            static_cast<int32_t>(random() % (screenHeight - height + 1)), width,
                            height);
                    for (uint32_t k = random() % 4; k > 0; --k) {
                        picture.Set(static_cast<int32_t>(random() % width),
                                    static_cast<int32_t>(random() % 2 % height),
                                    random() & 0xFFFFFF);
                    }
                } else {
                    picture = NoisePicture(width, height, random);
                }
                break;
            case 2:  // stripes against stripes: every other place nearly matches
                screen = StripesPicture(screenWidth, screenHeight);
                picture = StripesPicture(width, height, static_cast<int32_t>(random() % 2));
                picture.Set(0, 0, palette[random() % palette.size()]);
                break;
            case 3:  // a picture from nowhere
                screen = PalettePicture(screenWidth, screenHeight, palette, random);
                picture = NoisePicture(width, height, random);
                break;
            default:  // uniform with a few specks on both sides
                screen = UniformPicture(screenWidth, screenHeight, 0xFFFFFF);
                picture = UniformPicture(width, height, 0xFFFFFF);
                for (int k = 0; k < 3; ++k) {
                    screen.Set(static_cast<int32_t>(random() % screenWidth),
                               static_cast<int32_t>(random() % screenHeight),
                               palette[k % palette.size()]);
                    picture.Set(static_cast<int32_t>(random() % width),
                                static_cast<int32_t>(random() % height),
                                palette[k % palette.size()]);
                }
                break;
        }
        ScrambleFourthByte(screen, random);
        EXPECT_EQ(FindNearestMatch(screen, picture), FindNearestMatchReference(screen, picture))
            << screenWidth << " x " << screenHeight << ", picture " << width << " x " << height;
    }
    // Screens with more places than the seeding tries, so that the full scan decides.
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        const auto& palette = palettes[round % 2];
        const PixelBuffer screen = PalettePicture(400, 120, palette, random);
        const PixelBuffer picture = PalettePicture(6, 4, palette, random);
        EXPECT_EQ(FindNearestMatch(screen, picture), FindNearestMatchReference(screen, picture));
    }
}
