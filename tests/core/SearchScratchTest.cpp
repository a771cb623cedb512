// Search storage reused from call to call: profiles made again, screen samples taken again and
// rolling-hash searches in kept storage answer as new ones do, whatever came before.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/PictureSearchAnchors.h"
#include "engine/PictureSearchHash.h"
#include "engine/PictureSearchKernels.h"
#include "tests/core/SearchTestUtil.h"

namespace {

std::string Describe(const PicturePixel& pixel) {
    return "(" + std::to_string(pixel.x) + ", " + std::to_string(pixel.y) + ": " +
           std::to_string(pixel.colour) + ")";
}

// Everything a profile offers, as text, so that two profiles compare in one assertion.
std::string Describe(const CPictureProfile& profile) {
    std::string text = "colours";
    for (const CPictureProfile::Colour& colour : profile.Colours()) {
        text += " " + std::to_string(colour.colour) + "x" + std::to_string(colour.count) + "/" +
                std::to_string(colour.tieBreak) + Describe(colour.first) + Describe(colour.last) +
                Describe(colour.rowPartner);
    }
    text += "; pairs";
    for (const CPictureProfile::Pair& pair : profile.Pairs()) {
        text += " " + Describe(pair.left) + "+" + std::to_string(pair.right) + "x" +
                std::to_string(pair.count);
    }
    return text;
}

template <typename Key>
std::string Describe(const CKeyCounts<Key>& counts) {
    std::string text;
    for (const auto& entry : counts.Entries()) {
        text += std::to_string(entry.key) + "x" + std::to_string(entry.count) + " ";
    }
    return text;
}

std::string Describe(const CScreenSample& sample) {
    return std::to_string(sample.Size()) + " colours: " + Describe(sample.Colours()) + "; " +
           std::to_string(sample.PairSize()) + " pairs: " + Describe(sample.Pairs());
}

}  // namespace

// Pictures of every size one after another, large ones examined on a grid, one pixel wide ones
// without pairs, with and without pairs asked for: a profile made again in the storage of the
// one before, with scratch shared by all, equals a new profile of the same picture.
TEST(SearchScratch, AProfileMadeAgainEqualsANewOne) {
    std::mt19937 random(11);
    const std::vector<uint32_t> few = {0x00000000, 0x00FFFFFF, 0x00808080, 0x00123456};
    std::vector<uint32_t> many;  // more colours than a profile keeps
    for (int i = 0; i < 300; ++i) {
        many.push_back(random() & 0x00FFFFFF);
    }
    CPictureProfile kept;
    ProfileScratch scratch;
    for (int round = 0; round < 120; ++round) {
        const bool large = round % 5 == 0;  // more pixels than a profile examines one by one
        const int32_t width =
            round % 7 == 0 ? 1 : 1 + static_cast<int32_t>(random() % (large ? 160 : 40));
        const int32_t height = 1 + static_cast<int32_t>(random() % (large ? 200 : 12));
        const PixelBuffer picture =
            PalettePicture(width, height, round % 2 == 0 ? few : many, random);
        const bool withPairs = random() % 3 != 0;
        kept.Make(picture, withPairs, scratch);
        ASSERT_EQ(Describe(kept), Describe(CPictureProfile(picture, withPairs)))
            << "round " << round << ", " << picture.Width() << " x " << picture.Height();
    }
}

// Screens of other sizes and contents, with more or fewer runs, with and without pairs: a
// sample taken again in the storage of the one before equals a new sample.
TEST(SearchScratch, AScreenSampleTakenAgainEqualsANewOne) {
    std::mt19937 random(12);
    const std::vector<uint32_t> palette = {0x00000000, 0x00FFFFFF, 0x00808080, 0x00123456,
                                           0x00654321};
    CScreenSample kept;
    for (int round = 0; round < 40; ++round) {
        const int32_t width = 1 + static_cast<int32_t>(random() % 300);
        const int32_t height = 1 + static_cast<int32_t>(random() % 200);
        const PixelBuffer screen = PalettePicture(width, height, palette, random);
        const int32_t runs =
            random() % 2 == 0 ? CScreenSample::kSingleSearchRuns : CScreenSample::kListSearchRuns;
        const bool withPairs = random() % 2 == 0;
        kept.Take(screen, runs, withPairs);
        ASSERT_EQ(Describe(kept), Describe(CScreenSample(screen, runs, withPairs)))
            << "round " << round;
        // Colours and pairs it never saw count nothing, however full the storage was before.
        EXPECT_EQ(kept.Count(0x00FEDCBA), 0u);
        EXPECT_EQ(kept.PairCount(ColourPair(0x00FEDCBA, 0x00FEDCBA)), 0u);
    }
}

// Groups of same-sized pictures on screens that grow and shrink, from random starting places:
// the rolling hash in storage kept from the searches before answers as it does in new storage.
TEST(SearchScratch, AHashSearchInKeptStorageAnswersAsInNewStorage) {
    std::mt19937 random(13);
    const std::vector<uint32_t> palette = {0x00000000, 0x00FFFFFF, 0x00336699};
    HashScratch kept;
    size_t found = 0;
    for (int round = 0; round < 300 && !HasFailure(); ++round) {
        const int32_t width = 1 + static_cast<int32_t>(random() % 90);
        const int32_t height = 1 + static_cast<int32_t>(random() % 40);
        const PixelBuffer screen = PalettePicture(width, height, palette, random);
        const int32_t pictureWidth = 1 + static_cast<int32_t>(random() % std::min(width, 6));
        const int32_t pictureHeight = 1 + static_cast<int32_t>(random() % std::min(height, 4));
        std::vector<PixelBuffer> pictures;
        const int count = 1 + static_cast<int>(random() % 6);
        for (int member = 0; member < count; ++member) {
            pictures.push_back(
                random() % 2 == 0
                    ? PalettePicture(pictureWidth, pictureHeight, palette, random)
                    : Cut(screen, static_cast<int32_t>(random() % (width - pictureWidth + 1)),
                          static_cast<int32_t>(random() % (height - pictureHeight + 1)),
                          pictureWidth, pictureHeight));
        }
        std::vector<const PixelBuffer*> members;
        for (const PixelBuffer& picture : pictures) {
            members.push_back(&picture);
        }
        const int32_t startRow = static_cast<int32_t>(random() % (height - pictureHeight + 1));
        const int32_t startColumn = static_cast<int32_t>(random() % (width - pictureWidth + 2));
        for (const SearchPath path : {SearchPath::Best, SearchPath::Sse2}) {
            const auto expected =
                FindFirstOfGroupByHash(screen, members, startRow, startColumn, KernelsFor(path));
            const auto actual = FindFirstOfGroupByHash(screen, members, startRow, startColumn,
                                                       KernelsFor(path), kept);
            ASSERT_EQ(actual.has_value(), expected.has_value()) << "round " << round;
            if (expected) {
                EXPECT_EQ(actual->member, expected->member) << "round " << round;
                EXPECT_EQ(actual->topLeft, expected->topLeft) << "round " << round;
                ++found;
            }
        }
    }
    EXPECT_GT(found, 100u);  // the rounds find pictures often enough to compare places
}
