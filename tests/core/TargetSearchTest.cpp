// The list search of a play step: order rules, click points, and the fast search against the
// plain one over many random lists, made anew or kept and rebuilt as lists change.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
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

// A random screen and a random list of 1 to `maxCount` targets for it, appended to `list`:
// targets present once or twice, absent ones cut from the screen with a pixel changed, many of
// one size, pictures of the screen's commonest colours, some without a picture, and orders
// shuffled with gaps and duplicates, so that every strategy of the fast search (separate scans,
// the shared colour pass with deferrals, rolling-hash groups) is at work.
PixelBuffer MakeRandomCase(std::mt19937& random, int maxCount, CTargetObjList& list) {
    static const std::vector<std::vector<uint32_t>> palettes = {
        {0x00000000, 0x00FFFFFF},
        {0x00FFFFFF, 0x00F0F0F0, 0x00C0C0C0, 0x00404040, 0x003366CC},
        {},  // noise
    };
    const auto& palette = palettes[random() % palettes.size()];
    const int32_t width = 20 + static_cast<int32_t>(random() % 140);
    const int32_t height = 10 + static_cast<int32_t>(random() % 90);
    PixelBuffer screen = palette.empty() ? NoisePicture(width, height, random)
                                         : PalettePicture(width, height, palette, random);
    const int count = 1 + static_cast<int>(random() % static_cast<unsigned>(maxCount));
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
                picture.Set(static_cast<int32_t>(random() % w), static_cast<int32_t>(random() % h),
                            random() & 0x00FFFFFF);
                break;
            case 2:
                picture = palette.empty() ? NoisePicture(w, h, random)
                                          : PalettePicture(w, h, palette, random);
                break;
            case 3:
                picture = UniformPicture(w, h, screen.At(0, 0));
                picture.Set(w - 1, 0, picture.At(w - 1, 0) ^ 1);
                break;
            default:
                picture = NoisePicture(w, h, random);
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
    for (int i = 0; i < count; ++i) {
        int32_t order = orders[static_cast<size_t>(i)];
        if (random() % 10 == 0) {
            order = static_cast<int32_t>(random() % (count + 2)) - 1;  // gaps, duplicates
        }
        AddTarget(list, order,
                  random() % 20 == 0 ? CPicture() : CPicture(pictures[static_cast<size_t>(i)]));
    }
    return screen;
}

// `search`, on both paths, finds in `screen` what the plain search of `list` finds: the same
// target at the same place. False after the first difference.
bool ExpectSameAsReference(const CTargetSearch& search, const CTargetObjList& list,
                           const PixelBuffer& screen, const std::string& what) {
    const std::optional<TargetHit> expected = FindFirstTargetReference(list, screen);
    for (const SearchPath path : {SearchPath::Best, SearchPath::Sse2}) {
        const std::optional<TargetHit> actual = search.FindFirst(screen, path);
        if (actual != expected) {
            ADD_FAILURE() << (path == SearchPath::Best ? "best path" : "SSE2 path") << " finds "
                          << Describe(actual) << ", the reference " << Describe(expected) << ", "
                          << what;
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(TargetSearchRules, TheFirstFoundOrderIsClicked) {
    std::mt19937 random(1);
    PixelBuffer screen = NoisePicture(60, 40, random);
    const PixelBuffer first = NoisePicture(5, 4, random);
    const PixelBuffer second = NoisePicture(6, 3, random);
    const PixelBuffer third = NoisePicture(4, 4, random);
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
    PixelBuffer screen = NoisePicture(50, 30, random);
    const PixelBuffer shown = NoisePicture(4, 3, random);
    Paste(screen, shown, 10, 10);
    // Two targets: order numbers 0 and 2, so only order 0 is searched.
    CTargetObjList gap;
    AddTarget(gap, 2, CPicture(shown));
    AddTarget(gap, 0, CPicture(NoisePicture(4, 3, random)));
    ExpectEverySearch(gap, screen, std::nullopt);
    // Two targets sharing order 0: only the first in list order is searched.
    CTargetObjList twice;
    AddTarget(twice, 0, CPicture(NoisePicture(4, 3, random)));
    AddTarget(twice, 0, CPicture(shown));
    ExpectEverySearch(twice, screen, std::nullopt);
    CTargetObjList swapped;
    const CTargetObj& shownFirst = AddTarget(swapped, 0, CPicture(shown));
    AddTarget(swapped, 0, CPicture(NoisePicture(4, 3, random)));
    ExpectEverySearch(swapped, screen, MakeTargetHit(shownFirst, {10, 10}));
    EXPECT_EQ(TargetsInSearchOrder(gap).size(), 1u);
}

TEST(TargetSearchRules, UnusablePicturesAreNeverFound) {
    std::mt19937 random(3);
    PixelBuffer screen = NoisePicture(40, 30, random);
    const PixelBuffer shown = NoisePicture(3, 3, random);
    Paste(screen, shown, 7, 8);
    CTargetObjList list;
    AddTarget(list, 0, CPicture());                              // no picture
    AddTarget(list, 1, StringToPicture(u"\x4201\x4D01\x0101"));  // undecodable
    AddTarget(list, 2, CPicture(NoisePicture(41, 2, random)));   // wider than the screen
    AddTarget(list, 3, CPicture(NoisePicture(2, 31, random)));   // higher than the screen
    const CTargetObj& found = AddTarget(list, 4, CPicture(shown));
    ExpectEverySearch(list, screen, MakeTargetHit(found, {7, 8}));
    EXPECT_EQ(CTargetSearch(list).SearchedCount(), 3u);  // orders 2, 3 and 4
}

// A picture exactly as wide, as high, or as large as the screen fits and is found; alone, and
// behind enough absent targets that the list is searched in one shared pass.
TEST(TargetSearchRules, PicturesThatFitTheScreenExactlyAreFound) {
    constexpr int32_t kWidth = 40;
    constexpr int32_t kHeight = 30;
    struct ExactFit {
        const char* what;
        int32_t width, height, left, top;
    };
    const ExactFit fits[] = {
        {"as wide as the screen", kWidth, 3, 0, 17},
        {"as high as the screen", 4, kHeight, 23, 0},
        {"the whole screen", kWidth, kHeight, 0, 0},
    };
    for (const ExactFit& fit : fits) {
        for (const size_t nAbsent : {size_t{0}, size_t{12}}) {
            SCOPED_TRACE(std::string(fit.what) + " behind " + std::to_string(nAbsent) +
                         " absent targets");
            std::mt19937 random(static_cast<uint32_t>(fit.width * 100 + fit.height + nAbsent));
            const PixelBuffer screen = NoisePicture(kWidth, kHeight, random);
            CTargetObjList list;
            for (size_t i = 0; i < nAbsent; ++i) {
                AddTarget(list, static_cast<int32_t>(i), CPicture(NoisePicture(3, 2, random)));
            }
            const CTargetObj& target =
                AddTarget(list, static_cast<int32_t>(nAbsent),
                          CPicture(Cut(screen, fit.left, fit.top, fit.width, fit.height)));
            ExpectEverySearch(list, screen, MakeTargetHit(target, {fit.left, fit.top}));
        }
    }
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

// A stored click shift is any int32: the click point keeps the nearest int32 limit instead of
// wrapping round to the other side of the screen, and so does a centre beyond the limits.
TEST(TargetSearchRules, ClickPointsBeyondTheInt32LimitsStayAtTheLimits) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        Point topLeft;
        Point shift;
        Point centre;
        Point click;
    };
    const Case cases[] = {
        {{100, 200}, {kMax, kMax - 100}, {102, 203}, {kMax, kMax}},
        {{100, 200}, {kMax - 102, kMin}, {102, 203}, {kMax, kMin + 203}},
        {{100, 200}, {kMin, kMin}, {102, 203}, {kMin + 102, kMin + 203}},
        {{0, 0}, {kMax, kMax}, {2, 3}, {kMax, kMax}},
        {{kMax, kMax}, {0, kMin}, {kMax, kMax}, {kMax, -1}},
        {{kMin, kMin}, {kMin, -3}, {kMin + 2, kMin + 3}, {kMin, kMin}},
        {{kMax - 2, kMax - 3}, {-5, 0}, {kMax, kMax}, {kMax - 5, kMax}},
    };
    CTargetObj target;
    target.m_bmpTarget = CPicture(UniformPicture(5, 5, 0x00123456));
    for (const Case& c : cases) {
        target.m_ptClickShift = c.shift;
        const TargetHit hit = MakeTargetHit(target, c.topLeft);
        EXPECT_EQ(hit.centre, c.centre) << c.shift.x << ", " << c.shift.y;
        EXPECT_EQ(hit.click, c.click) << c.shift.x << ", " << c.shift.y;
    }
}

// Random lists of up to 40 targets on random screens, each searched by a new CTargetSearch and
// compared with the plain search.
TEST(TargetSearchDifferential, RandomLists) {
    std::mt19937 random(99);
    for (int round = 0; round < 160; ++round) {
        CTargetObjList list;
        const PixelBuffer screen = MakeRandomCase(random, 40, list);
        if (!ExpectSameAsReference(CTargetSearch(list), list, screen,
                                   "round " + std::to_string(round))) {
            break;
        }
    }
}

// One search kept from call to call, as the play loop keeps it, and rebuilt for each new list:
// lists of 1 to 3 targets (searched one by one) alternate with lists of up to 40 (the shared
// passes), so the kept storage shrinks and grows under lists and screens of every size; every
// tenth list is empty, and each list is gone before the next rebuild. It answers as a new search
// and the plain search do.
TEST(TargetSearchKept, RebuiltForEachNewListAnswersAsANewSearch) {
    std::mt19937 random(2024);
    CTargetSearch kept;
    for (int round = 0; round < 200; ++round) {
        auto list = std::make_unique<CTargetObjList>();
        PixelBuffer screen;
        if (round % 10 == 9) {
            screen = NoisePicture(30, 20, random);
        } else {
            screen = MakeRandomCase(random, round % 2 == 0 ? 3 : 40, *list);
        }
        kept.Rebuild(*list);
        const std::string what = "round " + std::to_string(round);
        EXPECT_EQ(kept.SearchedCount(), CTargetSearch(*list).SearchedCount()) << what;
        if (!ExpectSameAsReference(kept, *list, screen, what)) {
            break;
        }
    }
}

// One list edited in place between play ticks while a kept search follows it: orders moved,
// pictures replaced (the old ones freed), targets removed and freed, new ones captured, and the
// screen changed under an unchanged list with no rebuild. After every edit the search is rebuilt
// and answers as the plain search does; the edits make targets win, lose and change places.
TEST(TargetSearchKept, FollowsEditsOfOneList) {
    std::mt19937 random(31);
    const std::vector<uint32_t> palette = {0x00FFFFFF, 0x00F0F0F0, 0x00C0C0C0, 0x00404040};
    PixelBuffer screen = PalettePicture(120, 80, palette, random);
    // Pictures cut from the screen (present on it until the screen changes), the same with a
    // pixel changed (absent), or noise; of one size now and then, so that hash groups form.
    const auto makePicture = [&] {
        const bool shared = random() % 3 == 0;
        const int32_t w = shared ? 5 : 3 + static_cast<int32_t>(random() % 7);
        const int32_t h = shared ? 3 : 3 + static_cast<int32_t>(random() % 5);
        PixelBuffer picture;
        const unsigned kind = random() % 4;
        if (kind == 0) {
            picture = NoisePicture(w, h, random);
        } else {
            picture = Cut(screen, static_cast<int32_t>(random() % (screen.Width() - w + 1)),
                          static_cast<int32_t>(random() % (screen.Height() - h + 1)), w, h);
            if (kind != 1) {
                picture.Set(0, 0, picture.At(0, 0) ^ 0x00010101);
            }
        }
        return CPicture(picture);
    };
    const auto randomTarget = [&](CTargetObjList& list) {
        auto at = list.begin();
        std::advance(at, static_cast<std::ptrdiff_t>(random() % list.Count()));
        return at->get();
    };
    CTargetObjList list;
    for (int i = 0; i < 4; ++i) {
        auto target = std::make_unique<CTargetObj>();
        target->m_bmpTarget = makePicture();
        list.AddCaptured(std::move(target));
    }
    CTargetSearch kept(list);
    enum class Edit { MoveOrder, ReplacePicture, NewScreen, Remove, Capture, CaptureOrRemove };
    size_t found = 0;
    size_t missed = 0;
    size_t oneByOne = 0;        // steps with lists searched one target at a time
    size_t inSharedPasses = 0;  // and in shared passes
    for (int step = 0; step < 400; ++step) {
        const int32_t count = static_cast<int32_t>(list.Count());
        // The list grows for 100 steps, then shrinks for 100, and so on, between 1 and about 40
        // targets: searched one by one below 7, in shared passes above.
        const bool growing = step / 100 % 2 == 0;
        Edit edit = static_cast<Edit>(random() % 6);
        if (edit == Edit::Remove || edit == Edit::Capture || edit == Edit::CaptureOrRemove) {
            const bool capture = edit == Edit::CaptureOrRemove ? !growing : growing;
            edit = count < 2    ? Edit::Capture
                   : count > 40 ? Edit::Remove
                   : capture    ? Edit::Capture
                                : Edit::Remove;
        }
        std::string what;
        switch (edit) {
            case Edit::MoveOrder: {
                const auto from = static_cast<int32_t>(random() % count);
                const auto to = static_cast<int32_t>(random() % (count + 1));
                list.MoveOrder(from, to);
                what = "order " + std::to_string(from) + " moved before " + std::to_string(to);
                break;
            }
            case Edit::ReplacePicture:
                randomTarget(list)->m_bmpTarget = makePicture();
                what = "a picture replaced";
                break;
            case Edit::Remove: {
                const int removing = std::min(count - 1, 1 + static_cast<int>(random() % 4));
                for (int i = 0; i < removing; ++i) {
                    const int32_t removed = randomTarget(list)->m_nOrder;
                    list.Remove(list.FindByOrder(removed));
                    list.RenumberAfterRemove(removed);
                }
                what = std::to_string(removing) + " removed";
                break;
            }
            case Edit::Capture:
            case Edit::CaptureOrRemove: {
                const int added = 1 + static_cast<int>(random() % 4);
                for (int i = 0; i < added; ++i) {
                    auto target = std::make_unique<CTargetObj>();
                    target->m_bmpTarget = makePicture();
                    list.AddCaptured(std::move(target));
                }
                what = std::to_string(added) + " captured";
                break;
            }
            case Edit::NewScreen: {
                // A new screen of another size showing some of the targets; the list is as it
                // was, so the search is not rebuilt.
                screen = PalettePicture(40 + static_cast<int32_t>(random() % 200),
                                        20 + static_cast<int32_t>(random() % 120), palette, random);
                const int shown = static_cast<int>(random() % 3);
                for (int i = 0; i < shown; ++i) {
                    const PixelBuffer* pixels = randomTarget(list)->m_bmpTarget.Pixels();
                    if (pixels->Width() <= screen.Width() && pixels->Height() <= screen.Height()) {
                        Paste(
                            screen, *pixels,
                            static_cast<int32_t>(random() % (screen.Width() - pixels->Width() + 1)),
                            static_cast<int32_t>(random() %
                                                 (screen.Height() - pixels->Height() + 1)));
                    }
                }
                what = "a new screen";
                break;
            }
        }
        if (edit != Edit::NewScreen) {
            kept.Rebuild(list);
        }
        if (!ExpectSameAsReference(kept, list, screen,
                                   "step " + std::to_string(step) + " after " + what)) {
            break;
        }
        (FindFirstTargetReference(list, screen) ? found : missed) += 1;
        (kept.SearchedCount() <= 6 ? oneByOne : inSharedPasses) += 1;
    }
    // The steps must include both outcomes and both kinds of search, or the comparison says
    // little.
    EXPECT_GT(found, 40u);
    EXPECT_GT(missed, 40u);
    EXPECT_GT(oneByOne, 40u);
    EXPECT_GT(inSharedPasses, 40u);
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
    ColourPassScratch kept;
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
            // Storage kept from the rounds before gives the same answer.
            const ColourPassResult& again =
                FindFirstByColourPass(screen, members, misleading, KernelsFor(path), kept);
            EXPECT_EQ(again.deferred, result.deferred) << "round " << round;
            ASSERT_EQ(again.match.has_value(), result.match.has_value()) << "round " << round;
            if (result.match) {
                EXPECT_EQ(again.match->member, result.match->member) << "round " << round;
                EXPECT_EQ(again.match->topLeft, result.match->topLeft) << "round " << round;
            }
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
