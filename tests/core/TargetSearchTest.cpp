// The list search of a play step: order rules, click points, and the fast search against the
// plain one over many random lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/PictureSearchColourPass.h"
#include "engine/TargetSearch.h"
#include "model/Picture.h"
#include "tests/core/SearchTestUtil.h"

namespace {

CTargetObj& AddTarget(CTargetObjList& list, int32_t order, CPicture picture,
                      const std::u16string& name = u"") {
    auto target = std::make_unique<CTargetObj>();
    target->m_nOrder = order;
    target->m_bmpTarget = std::move(picture);
    target->m_strName = name;
    return list.AddTail(std::move(target));
}

PixelBuffer Noise(int32_t width, int32_t height, std::mt19937& random) {
    PixelBuffer pixels(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pixels.Set(x, y, random() & 0x00FFFFFF);
        }
    }
    return pixels;
}

std::string Describe(const std::optional<TargetHit>& hit) {
    if (!hit) {
        return "nothing";
    }
    return "order " + std::to_string(hit->target->m_nOrder) + " at (" +
           std::to_string(hit->topLeft.x) + ", " + std::to_string(hit->topLeft.y) + "), click (" +
           std::to_string(hit->click.x) + ", " + std::to_string(hit->click.y) + ")";
}

// The reference and both fast paths give `expected` (a target pointer and position, or nothing).
void ExpectEverySearch(const CTargetObjList& list, const PixelBuffer& screen,
                       const std::optional<TargetHit>& expected) {
    EXPECT_EQ(Describe(FindFirstTargetReference(list, screen)), Describe(expected)) << "reference";
    const CTargetSearch search(list);
    for (const SearchPath path : {SearchPath::Best, SearchPath::Sse2}) {
        const auto actual = search.FindFirst(screen, path);
        EXPECT_EQ(Describe(actual), Describe(expected))
            << (path == SearchPath::Best ? "best path" : "SSE2 path");
        if (actual && expected) {
            EXPECT_EQ(actual->target, expected->target);
        }
    }
}

}  // namespace

TEST(TargetSearchRules, TheFirstFoundOrderIsClicked) {
    std::mt19937 random(1);
    PixelBuffer screen = Noise(60, 40, random);
    const PixelBuffer first = Noise(5, 4, random);
    const PixelBuffer second = Noise(6, 3, random);
    const PixelBuffer third = Noise(4, 4, random);
    Paste(screen, second, 40, 30);
    Paste(screen, third, 2, 35);
    CTargetObjList list;
    AddTarget(list, 2, CPicture(third));
    const CTargetObj& target1 = AddTarget(list, 1, CPicture(second));
    AddTarget(list, 0, CPicture(first));
    ExpectEverySearch(list, screen, MakeTargetHit(target1, {40, 30}));
}

TEST(TargetSearchRules, OrdersBeyondTheCountAndDuplicatesAreNotSearched) {
    std::mt19937 random(2);
    PixelBuffer screen = Noise(50, 30, random);
    const PixelBuffer shown = Noise(4, 3, random);
    Paste(screen, shown, 10, 10);
    // Two targets: order numbers 0 and 2, so only order 0 is searched.
    CTargetObjList gap;
    AddTarget(gap, 2, CPicture(shown));
    AddTarget(gap, 0, CPicture(Noise(4, 3, random)));
    ExpectEverySearch(gap, screen, std::nullopt);
    // Two targets sharing order 0: only the first in list order is searched.
    CTargetObjList twice;
    AddTarget(twice, 0, CPicture(Noise(4, 3, random)));
    AddTarget(twice, 0, CPicture(shown));
    ExpectEverySearch(twice, screen, std::nullopt);
    CTargetObjList swapped;
    const CTargetObj& shownFirst = AddTarget(swapped, 0, CPicture(shown));
    AddTarget(swapped, 0, CPicture(Noise(4, 3, random)));
    ExpectEverySearch(swapped, screen, MakeTargetHit(shownFirst, {10, 10}));
    EXPECT_EQ(TargetsInSearchOrder(gap).size(), 1u);
}

TEST(TargetSearchRules, UnusablePicturesAreNeverFound) {
    std::mt19937 random(3);
    PixelBuffer screen = Noise(40, 30, random);
    const PixelBuffer shown = Noise(3, 3, random);
    Paste(screen, shown, 7, 8);
    CTargetObjList list;
    AddTarget(list, 0, CPicture());                              // no picture
    AddTarget(list, 1, StringToPicture(u"\x4201\x4D01\x0101"));  // undecodable
    AddTarget(list, 2, CPicture(Noise(41, 2, random)));          // wider than the screen
    AddTarget(list, 3, CPicture(Noise(2, 31, random)));          // higher than the screen
    const CTargetObj& found = AddTarget(list, 4, CPicture(shown));
    ExpectEverySearch(list, screen, MakeTargetHit(found, {7, 8}));
    EXPECT_EQ(CTargetSearch(list).SearchedCount(), 3u);  // orders 2, 3 and 4
}

TEST(TargetSearchRules, ClickPointIsTheCentrePlusTheClickShift) {
    CTargetObj target;
    target.m_bmpTarget = CPicture(UniformPicture(5, 5, 0x00123456));
    target.m_ptClickShift = {-10, 7};
    const TargetHit hit = MakeTargetHit(target, {100, 200});
    EXPECT_EQ(hit.centre, (Point{102, 203}));
    EXPECT_EQ(hit.click, (Point{92, 210}));
    target.m_bmpTarget = CPicture(UniformPicture(4, 4, 0x00123456));
    EXPECT_EQ(MakeTargetHit(target, {100, 200}).centre, (Point{102, 202}));
    // On a screen: a 5 x 5 target found at (100, 200) is clicked at (92, 210).
    PixelBuffer screen = UniformPicture(160, 230, 0x00FFFFFF);
    PixelBuffer picture = UniformPicture(5, 5, 0x00123456);
    picture.Set(2, 2, 0);
    Paste(screen, picture, 100, 200);
    CTargetObjList list;
    CTargetObj& listed = AddTarget(list, 0, CPicture(picture));
    listed.m_ptClickShift = {-10, 7};
    const auto clicked = CTargetSearch(list).FindFirst(screen);
    ASSERT_TRUE(clicked.has_value());
    EXPECT_EQ(clicked->click, (Point{92, 210}));
}

// Random lists of up to 40 targets on random screens: targets present once or twice, absent
// ones cut from the screen with a pixel changed, many of one size, pictures of the screen's
// commonest colours, and orders shuffled with gaps and duplicates, so that every strategy of the
// fast search (separate scans, the shared colour pass with deferrals, rolling-hash groups) is
// compared with the plain search.
TEST(TargetSearchDifferential, RandomLists) {
    std::mt19937 random(99);
    const std::vector<std::vector<uint32_t>> palettes = {
        {0x00000000, 0x00FFFFFF},
        {0x00FFFFFF, 0x00F0F0F0, 0x00C0C0C0, 0x00404040, 0x003366CC},
        {},  // noise
    };
    for (int round = 0; round < 160 && !HasFailure(); ++round) {
        const auto& palette = palettes[random() % palettes.size()];
        const int32_t width = 20 + static_cast<int32_t>(random() % 140);
        const int32_t height = 10 + static_cast<int32_t>(random() % 90);
        PixelBuffer screen = palette.empty() ? Noise(width, height, random)
                                             : PalettePicture(width, height, palette, random);
        const int count = 1 + static_cast<int>(random() % 40);
        const int32_t sharedWidth = 1 + static_cast<int32_t>(random() % 8);
        const int32_t sharedHeight = 1 + static_cast<int32_t>(random() % 6);
        std::vector<PixelBuffer> pictures;
        for (int i = 0; i < count; ++i) {
            const bool shared = random() % 2 == 0;
            const int32_t w =
                std::min(width, shared ? sharedWidth : 1 + static_cast<int32_t>(random() % 10));
            const int32_t h =
                std::min(height, shared ? sharedHeight : 1 + static_cast<int32_t>(random() % 8));
            const int32_t left = static_cast<int32_t>(random() % (width - w + 1));
            const int32_t top = static_cast<int32_t>(random() % (height - h + 1));
            PixelBuffer picture;
            switch (random() % 5) {
                case 0:
                    picture = Cut(screen, left, top, w, h);
                    break;
                case 1:
                    picture = Cut(screen, left, top, w, h);
                    picture.Set(static_cast<int32_t>(random() % w),
                                static_cast<int32_t>(random() % h), random() & 0x00FFFFFF);
                    break;
                case 2:
                    picture = palette.empty() ? Noise(w, h, random)
                                              : PalettePicture(w, h, palette, random);
                    break;
                case 3:
                    picture = UniformPicture(w, h, screen.At(0, 0));
                    picture.Set(w - 1, 0, picture.At(w - 1, 0) ^ 1);
                    break;
                default:
                    picture = Noise(w, h, random);
                    break;
            }
            pictures.push_back(std::move(picture));
        }
        // Show some pictures only after all have been cut, so that later pastes can hide them.
        for (int i = 0; i < count / 4; ++i) {
            const PixelBuffer& picture = pictures[random() % pictures.size()];
            Paste(screen, picture, static_cast<int32_t>(random() % (width - picture.Width() + 1)),
                  static_cast<int32_t>(random() % (height - picture.Height() + 1)));
        }
        if (random() % 3 == 0) {
            ScrambleFourthByte(screen, random);
        }
        std::vector<int32_t> orders(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            orders[static_cast<size_t>(i)] = i;
        }
        std::shuffle(orders.begin(), orders.end(), random);
        CTargetObjList list;
        for (int i = 0; i < count; ++i) {
            int32_t order = orders[static_cast<size_t>(i)];
            if (random() % 10 == 0) {
                order = static_cast<int32_t>(random() % (count + 2)) - 1;  // gaps, duplicates
            }
            AddTarget(list, order,
                      random() % 20 == 0 ? CPicture() : CPicture(pictures[static_cast<size_t>(i)]));
        }
        const std::string expected = Describe(FindFirstTargetReference(list, screen));
        const CTargetSearch search(list);
        EXPECT_EQ(Describe(search.FindFirst(screen, SearchPath::Best)), expected)
            << "best path, round " << round;
        EXPECT_EQ(Describe(search.FindFirst(screen, SearchPath::Sse2)), expected)
            << "SSE2 path, round " << round;
    }
}

// The shared colour pass trusts a screen sample to keep common colours out. Given the sample of
// another screen, it lets them in, and must then thin out or defer those pictures instead of
// slowing down or losing track: what it reports found is the reference's first match, nothing
// it kept below that is on the screen, and what it gave up on it says.
TEST(TargetSearchColourPass, DefersPicturesWhoseColoursProveCommon) {
    std::mt19937 random(5);
    const PixelBuffer elsewhere = UniformPicture(64, 64, 0x00ABCDEF);
    const CScreenSample misleading(elsewhere, CScreenSample::kListSearchRuns, true);
    const std::vector<uint32_t> palette = {0x00000000, 0x00FFFFFF, 0x00808080};
    size_t deferrals = 0;
    for (int round = 0; round < 12 && !HasFailure(); ++round) {
        PixelBuffer screen = PalettePicture(220, 150, palette, random);
        std::vector<PixelBuffer> pictures;
        for (int i = 0; i < 12; ++i) {
            const int32_t w = 1 + static_cast<int32_t>(random() % 6);
            const int32_t h = 1 + static_cast<int32_t>(random() % 4);
            pictures.push_back(i % 3 == 0 ? Cut(screen, static_cast<int32_t>(random() % 200),
                                                static_cast<int32_t>(random() % 140), w, h)
                                          : PalettePicture(w, h, palette, random));
        }
        std::vector<ColourPassMember> members;
        for (const PixelBuffer& picture : pictures) {
            members.push_back(
                {&picture, ChooseAnchors(CPictureProfile(picture, true), misleading)});
        }
        for (const SearchPath path : {SearchPath::Best, SearchPath::Sse2}) {
            const ColourPassResult result =
                FindFirstByColourPass(screen, members, misleading, KernelsFor(path));
            const auto isDeferred = [&](size_t member) {
                return std::find(result.deferred.begin(), result.deferred.end(), member) !=
                       result.deferred.end();
            };
            const size_t end = result.match ? result.match->member : members.size();
            for (size_t member = 0; member < end; ++member) {
                if (!isDeferred(member)) {
                    EXPECT_FALSE(FindPictureReference(screen, pictures[member]).has_value())
                        << "member " << member << " is on the screen, round " << round;
                }
            }
            if (result.match) {
                EXPECT_FALSE(isDeferred(result.match->member));
                const auto expected = FindPictureReference(screen, pictures[result.match->member]);
                ASSERT_TRUE(expected.has_value()) << "round " << round;
                EXPECT_EQ(result.match->topLeft, *expected) << "round " << round;
            }
            deferrals += result.deferred.size();
        }
    }
    EXPECT_GT(deferrals, 0u);
}
