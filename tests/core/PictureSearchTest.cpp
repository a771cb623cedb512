// The picture search: the rules of the plain scan, and the fast search checked against it.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/PictureSearch.h"
#include "engine/PictureSearchHash.h"
#include "engine/PictureSearchKernels.h"
#include "tests/core/SearchTestUtil.h"

namespace {

using Finder = std::function<std::optional<Point>(const PixelBuffer&, const PixelBuffer&)>;

struct NamedFinder {
    const char* name;
    Finder find;
};

const std::vector<NamedFinder>& FastFinders() {
    static const std::vector<NamedFinder> finders = {
        {"fast, best path",
         [](const PixelBuffer& s, const PixelBuffer& p) {
             return FindPicture(s, p, SearchPath::Best);
         }},
        {"fast, SSE2 path",
         [](const PixelBuffer& s, const PixelBuffer& p) {
             return FindPicture(s, p, SearchPath::Sse2);
         }},
    };
    return finders;
}

const std::vector<NamedFinder>& AllFinders() {
    static const std::vector<NamedFinder> finders = [] {
        std::vector<NamedFinder> all = {{"reference", &FindPictureReference}};
        all.insert(all.end(), FastFinders().begin(), FastFinders().end());
        return all;
    }();
    return finders;
}

std::string Describe(const std::optional<Point>& point) {
    return point ? "(" + std::to_string(point->x) + ", " + std::to_string(point->y) + ")"
                 : "not found";
}

// The rules hold for the reference and for both fast paths.
void ExpectEveryFinder(const PixelBuffer& screen, const PixelBuffer& picture,
                       const std::optional<Point>& expected, const std::string& what = "") {
    for (const NamedFinder& finder : AllFinders()) {
        EXPECT_EQ(Describe(finder.find(screen, picture)), Describe(expected))
            << finder.name << (what.empty() ? "" : ": " + what);
    }
}

// The fast paths return what the reference returns; false after the first disagreement.
bool ExpectSameAsReference(const PixelBuffer& screen, const PixelBuffer& picture,
                           const std::string& what) {
    const std::string expected = Describe(FindPictureReference(screen, picture));
    for (const NamedFinder& finder : FastFinders()) {
        const std::string actual = Describe(finder.find(screen, picture));
        if (actual != expected) {
            ADD_FAILURE() << finder.name << " gives " << actual << ", the reference " << expected
                          << " for " << what << " (screen " << screen.Width() << " x "
                          << screen.Height() << ", picture " << picture.Width() << " x "
                          << picture.Height() << ")";
            return false;
        }
    }
    return true;
}

bool ShowsAt(const PixelBuffer& screen, const PixelBuffer& picture, int32_t left, int32_t top) {
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            if (((screen.At(left + x, top + y) ^ picture.At(x, y)) & 0x00FFFFFF) != 0) {
                return false;
            }
        }
    }
    return true;
}

PixelBuffer Noise(int32_t width, int32_t height, uint32_t seed) {
    std::mt19937 random(seed);
    PixelBuffer screen(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            screen.Set(x, y, random() & 0x00FFFFFF);
        }
    }
    return screen;
}

}  // namespace

TEST(PictureSearchRules, TheLowerOccurrenceWinsThenTheLeftOne) {
    const PixelBuffer picture = Noise(4, 3, 1);
    PixelBuffer screen = Noise(40, 30, 2);
    Paste(screen, picture, 30, 5);
    Paste(screen, picture, 2, 20);   // bottom row 22
    Paste(screen, picture, 20, 20);  // same bottom row, further right
    ExpectEveryFinder(screen, picture, Point{2, 20});
    Paste(screen, picture, 35, 21);  // bottom row 23: lower on the screen
    ExpectEveryFinder(screen, picture, Point{35, 21});
}

TEST(PictureSearchRules, OneDifferingPixelAnywherePreventsTheMatch) {
    const PixelBuffer picture = Noise(5, 4, 3);
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            PixelBuffer screen = Noise(37, 21, 4);
            Paste(screen, picture, 11, 9);
            screen.Set(11 + x, 9 + y, screen.At(11 + x, 9 + y) ^ 0x00010000);
            ExpectEveryFinder(screen, picture, std::nullopt,
                              "pixel " + std::to_string(x) + ", " + std::to_string(y));
        }
    }
}

TEST(PictureSearchRules, ThePictureMustLieWhollyOnTheScreen) {
    const PixelBuffer picture = Noise(6, 3, 5);
    for (const Point corner : {Point{0, 0}, Point{34, 0}, Point{0, 17}, Point{34, 17}}) {
        PixelBuffer screen = Noise(40, 20, 6);
        Paste(screen, picture, corner.x, corner.y);
        ExpectEveryFinder(screen, picture, corner, "at an edge");
    }
    // Rows are stored back to back: the picture's left part at the end of screen rows 5 to 7 and
    // its right part at the start of rows 6 to 8 would be contiguous in memory.
    PixelBuffer screen = Noise(40, 20, 7);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const int32_t at = 37 + x;
            screen.Set(at % 40, 5 + y + at / 40, picture.At(x, y));
        }
    }
    ExpectEveryFinder(screen, picture, std::nullopt, "split over two rows");
    // Cut off by the bottom edge: only the top two rows are on the screen.
    PixelBuffer low = Noise(40, 20, 8);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            low.Set(10 + x, 18 + y, picture.At(x, y));
        }
    }
    ExpectEveryFinder(low, picture, std::nullopt, "cut off at the bottom");
}

TEST(PictureSearchRules, EmptyAndOversizedPicturesAreNeverFound) {
    const PixelBuffer screen = UniformPicture(20, 10, 0x00FFFFFF);
    ExpectEveryFinder(screen, PixelBuffer(), std::nullopt, "empty picture");
    ExpectEveryFinder(screen, UniformPicture(21, 1, 0x00FFFFFF), std::nullopt, "too wide");
    ExpectEveryFinder(screen, UniformPicture(1, 11, 0x00FFFFFF), std::nullopt, "too high");
    ExpectEveryFinder(PixelBuffer(), UniformPicture(1, 1, 0), std::nullopt, "empty screen");
    ExpectEveryFinder(screen, UniformPicture(20, 10, 0x00FFFFFF), Point{0, 0}, "screen-sized");
}

TEST(PictureSearchRules, TheFourthByteIsIgnoredOnBothSides) {
    std::mt19937 random(9);
    PixelBuffer picture = Noise(7, 5, 10);
    PixelBuffer screen = Noise(50, 40, 11);
    Paste(screen, picture, 13, 17);
    ScrambleFourthByte(screen, random);
    ScrambleFourthByte(picture, random);
    ExpectEveryFinder(screen, picture, Point{13, 17});
    screen.Set(15, 18, screen.At(15, 18) ^ 0x00000100);
    ExpectEveryFinder(screen, picture, std::nullopt, "after a change in green");
}

TEST(PictureSearchRules, OnAUniformScreenTheBottomLeftPlaceWins) {
    const PixelBuffer screen = UniformPicture(33, 17, 0x00C0C0C0);
    ExpectEveryFinder(screen, UniformPicture(5, 4, 0x00C0C0C0), Point{0, 13});
    ExpectEveryFinder(screen, UniformPicture(1, 1, 0x00C0C0C0), Point{0, 16});
    PixelBuffer almost = UniformPicture(5, 4, 0x00C0C0C0);
    almost.Set(3, 0, 0x00C0C0C1);  // differs in its top row only
    ExpectEveryFinder(screen, almost, std::nullopt);
}

TEST(PictureCentre, FollowsTheRoundingOfTheClickPoint) {
    EXPECT_EQ(PictureCentre({100, 200}, 5, 5), (Point{102, 203}));
    EXPECT_EQ(PictureCentre({100, 200}, 4, 4), (Point{102, 202}));
    EXPECT_EQ(PictureCentre({0, 0}, 1, 1), (Point{0, 1}));
    EXPECT_EQ(PictureCentre({-3, 7}, 2, 3), (Point{-2, 9}));
}

// Thousands of small random cases from few colours, where partial matches abound: pictures that
// are absent, present once or several times, cut from the screen with one pixel changed, at every
// size from 1 x 1 to the whole screen.
TEST(PictureSearchDifferential, RandomSmallScreens) {
    std::mt19937 random(2024);
    const std::vector<std::vector<uint32_t>> palettes = {
        {0x00FFFFFF},
        {0x00000000, 0x00FFFFFF},
        {0x00102030, 0x00405060, 0x00708090},
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFF00, 0x00000000, 0x00FFFFFF, 0x00808080,
         0x00C0C0C0},
    };
    int cases = 0;
    for (int round = 0; round < 6000 && !HasFailure(); ++round) {
        const auto& palette = palettes[random() % palettes.size()];
        const bool big = round % 20 == 0;
        const int32_t width = 1 + static_cast<int32_t>(random() % (big ? 150 : 70));
        const int32_t height = 1 + static_cast<int32_t>(random() % (big ? 140 : 40));
        PixelBuffer screen = PalettePicture(width, height, palette, random);
        int32_t pictureWidth = 1 + static_cast<int32_t>(random() % std::min(width, 9));
        int32_t pictureHeight = 1 + static_cast<int32_t>(random() % std::min(height, 7));
        if (random() % 16 == 0) {
            pictureWidth = width - static_cast<int32_t>(random() % 2 % width);
        }
        if (random() % 16 == 0) {
            pictureHeight = height - static_cast<int32_t>(random() % 2 % height);
        }
        PixelBuffer picture;
        const int32_t left = static_cast<int32_t>(random() % (width - pictureWidth + 1));
        const int32_t top = static_cast<int32_t>(random() % (height - pictureHeight + 1));
        switch (random() % 4) {
            case 0:
                picture = PalettePicture(pictureWidth, pictureHeight, palette, random);
                break;
            case 1:
                picture = Cut(screen, left, top, pictureWidth, pictureHeight);
                break;
            case 2: {
                picture = Cut(screen, left, top, pictureWidth, pictureHeight);
                const int32_t x = static_cast<int32_t>(random() % pictureWidth);
                const int32_t y = static_cast<int32_t>(random() % pictureHeight);
                picture.Set(x, y, palette[random() % palette.size()] ^ (random() % 2));
                break;
            }
            default: {
                picture = PalettePicture(pictureWidth, pictureHeight, palette, random);
                for (int copies = 1 + static_cast<int>(random() % 3); copies > 0; --copies) {
                    Paste(screen, picture,
                          static_cast<int32_t>(random() % (width - pictureWidth + 1)),
                          static_cast<int32_t>(random() % (height - pictureHeight + 1)));
                }
                break;
            }
        }
        if (random() % 4 == 0) {
            ScrambleFourthByte(screen, random);
            ScrambleFourthByte(picture, random);
        }
        ExpectSameAsReference(screen, picture, "random case " + std::to_string(round));
        ++cases;
    }
    EXPECT_EQ(cases, 6000);
}

// Screens built to defeat screening by a few pixels: most places pass the anchors and the
// difference lies where the verification comes last, so the search has to adapt its anchors or
// fall back to the rolling hash.
TEST(PictureSearchDifferential, AdversarialScreens) {
    // Stripes with one pixel of the picture flipped: every other place matches all but one pixel.
    const PixelBuffer stripes = StripesPicture(230, 120);
    for (const Point flip : {Point{0, 0}, Point{11, 0}, Point{5, 4}, Point{11, 9}, Point{0, 9}}) {
        PixelBuffer picture = StripesPicture(12, 10);
        picture.Set(flip.x, flip.y, picture.At(flip.x, flip.y) ^ 0x00FFFFFF);
        ExpectSameAsReference(stripes, picture, "stripes, absent");
        PixelBuffer shown = stripes;
        Paste(shown, picture, 100, 3);
        ExpectSameAsReference(shown, picture, "stripes, present near the top");
    }
    // Stripes broken by a grid of flipped pixels: every place fails, each at a different pixel.
    PixelBuffer grid = StripesPicture(300, 200);
    for (int32_t y = 3; y < grid.Height(); y += 9) {
        for (int32_t x = 5; x < grid.Width(); x += 17) {
            grid.Set(x, y, grid.At(x, y) ^ 0x00FFFFFF);
        }
    }
    const PixelBuffer plain = StripesPicture(40, 20);
    ExpectSameAsReference(grid, plain, "flipped grid, absent");
    PixelBuffer gridShown = grid;
    Paste(gridShown, plain, 201, 7);
    ExpectSameAsReference(gridShown, plain, "flipped grid, present near the top");
    PixelBuffer gridOdd = grid;
    Paste(gridOdd, StripesPicture(40, 20, 1), 31, 2);
    ExpectSameAsReference(gridOdd, plain, "flipped grid, present at the other phase");
    // A uniform screen and a picture of the same colour but for one pixel in its top row.
    const PixelBuffer white = UniformPicture(250, 130, 0x00FFFFFF);
    PixelBuffer almostWhite = UniformPicture(40, 20, 0x00FFFFFF);
    almostWhite.Set(17, 1, 0x00FFFFFE);
    ExpectSameAsReference(white, almostWhite, "uniform, absent");
    PixelBuffer whiteShown = white;
    Paste(whiteShown, almostWhite, 3, 2);
    ExpectSameAsReference(whiteShown, almostWhite, "uniform, present near the top");
    // Pictures of one row or one column, and as large as the screen.
    ExpectSameAsReference(stripes, StripesPicture(230, 1), "a full row");
    ExpectSameAsReference(stripes, StripesPicture(1, 120), "a full column");
    ExpectSameAsReference(stripes, stripes, "the whole screen");
    PixelBuffer nearlyAll = stripes;
    nearlyAll.Set(229, 0, 0x00808080);
    ExpectSameAsReference(stripes, nearlyAll, "the whole screen but its last pixel");
}

// The rolling hash, which the search falls back to, also returns the reference's answer from
// any starting place, for a single picture and for a group of same-sized ones.
TEST(PictureSearchHash, AgreesWithTheReferenceFromAnyStart) {
    std::mt19937 random(77);
    const std::vector<uint32_t> palette = {0x00000000, 0x00FFFFFF, 0x00336699};
    for (int round = 0; round < 300 && !HasFailure(); ++round) {
        const int32_t width = 1 + static_cast<int32_t>(random() % 60);
        const int32_t height = 1 + static_cast<int32_t>(random() % 40);
        PixelBuffer screen = PalettePicture(width, height, palette, random);
        const int32_t pictureWidth = 1 + static_cast<int32_t>(random() % std::min(width, 5));
        const int32_t pictureHeight = 1 + static_cast<int32_t>(random() % std::min(height, 4));
        std::vector<PixelBuffer> pictures;
        for (int member = 0; member < 4; ++member) {
            pictures.push_back(
                member % 2 == 0
                    ? PalettePicture(pictureWidth, pictureHeight, palette, random)
                    : Cut(screen, static_cast<int32_t>(random() % (width - pictureWidth + 1)),
                          static_cast<int32_t>(random() % (height - pictureHeight + 1)),
                          pictureWidth, pictureHeight));
        }
        ScrambleFourthByte(screen, random);
        std::vector<const PixelBuffer*> members;
        for (const PixelBuffer& picture : pictures) {
            members.push_back(&picture);
        }
        const int32_t lastRow = height - pictureHeight;
        const int32_t startRow = static_cast<int32_t>(random() % (lastRow + 1));
        const int32_t startColumn = static_cast<int32_t>(random() % (width - pictureWidth + 2));
        // The reference's answer restricted to candidates from the start on.
        const auto firstFrom = [&](const PixelBuffer& picture) -> std::optional<Point> {
            for (int32_t y = startRow; y >= 0; --y) {
                for (int32_t x = y == startRow ? startColumn : 0; x <= width - pictureWidth; ++x) {
                    if (ShowsAt(screen, picture, x, y)) {
                        return Point{x, y};
                    }
                }
            }
            return std::nullopt;
        };
        std::optional<GroupMatch> expected;
        for (size_t member = 0; member < members.size() && !expected; ++member) {
            if (const auto found = firstFrom(*members[member])) {
                expected = GroupMatch{member, *found};
            }
        }
        for (const SearchPath path : {SearchPath::Best, SearchPath::Sse2}) {
            const auto actual =
                FindFirstOfGroupByHash(screen, members, startRow, startColumn, KernelsFor(path));
            ASSERT_EQ(actual.has_value(), expected.has_value()) << "round " << round;
            if (expected) {
                EXPECT_EQ(actual->member, expected->member) << "round " << round;
                EXPECT_EQ(actual->topLeft, expected->topLeft) << "round " << round;
            }
        }
    }
}
