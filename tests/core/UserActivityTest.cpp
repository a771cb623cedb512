// The play loop's user-activity guard against a fixed clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/UserActivity.h"

namespace {

constexpr int64_t kNow = 1'700'000'000;
constexpr Point kParked{100, 100};

// A guard just after Play was pressed with the pointer at kParked.
CUserActivityGuard PlayingGuard(int64_t nStart = kNow) {
    CUserActivityGuard guard;
    guard.StartPlay(kParked, nStart);
    return guard;
}

bool ActiveAt(Point ptCursor) {
    CUserActivityGuard guard = PlayingGuard();
    return guard.IsUserActive(ptCursor, kNow);
}

// A guard that saw the user move the pointer to ptMoved at kNow.
CUserActivityGuard GuardAfterUserMove(Point ptMoved) {
    CUserActivityGuard guard = PlayingGuard(kNow - 100);
    EXPECT_TRUE(guard.IsUserActive(ptMoved, kNow));
    return guard;
}

}  // namespace

TEST(UserActivityDistance, FifteenPixelsIsStillButSixteenIsAMove) {
    EXPECT_FALSE(ActiveAt(Point{109, 112}));  // exactly 15
    EXPECT_FALSE(ActiveAt(Point{111, 89}));   // 15.56, rounded down
    EXPECT_FALSE(ActiveAt(Point{85, 100}));
    EXPECT_TRUE(ActiveAt(Point{100, 116}));  // exactly 16
    EXPECT_TRUE(ActiveAt(Point{84, 100}));
    // Straight-line distance: neither axis reaches 16 here.
    EXPECT_TRUE(ActiveAt(Point{112, 112}));
}

TEST(UserActivityDistance, AMoveBecomesTheReferenceAndASmallOneDoesNot) {
    CUserActivityGuard guard = PlayingGuard();
    EXPECT_FALSE(guard.IsUserActive(Point{110, 100}, kNow));
    EXPECT_EQ(guard.Reference(), kParked);
    EXPECT_EQ(guard.ReferenceTime(), kNow - 15);

    EXPECT_TRUE(guard.IsUserActive(Point{116, 100}, kNow + 1));  // 16 from the reference
    EXPECT_EQ(guard.Reference(), (Point{116, 100}));
    EXPECT_EQ(guard.ReferenceTime(), kNow + 1);
}

TEST(UserActivityDistance, SmallMovesAddUp) {
    CUserActivityGuard guard = PlayingGuard();
    EXPECT_FALSE(guard.IsUserActive(Point{110, 100}, kNow));
    EXPECT_FALSE(guard.IsUserActive(Point{115, 100}, kNow));
    EXPECT_TRUE(guard.IsUserActive(Point{120, 100}, kNow));
}

TEST(UserActivityQuietTime, ActiveForFourWholeSecondsAfterTheMove) {
    const Point ptMoved{400, 300};
    CUserActivityGuard guard = GuardAfterUserMove(ptMoved);
    EXPECT_TRUE(guard.IsUserActive(ptMoved, kNow));
    EXPECT_TRUE(guard.IsUserActive(ptMoved, kNow + 3));
    EXPECT_FALSE(guard.IsUserActive(ptMoved, kNow + 4));
    EXPECT_FALSE(guard.IsUserActive(ptMoved, kNow + 60));
}

TEST(UserActivityQuietTime, ASmallMoveDoesNotExtendIt) {
    const Point ptMoved{400, 300};
    CUserActivityGuard guard = GuardAfterUserMove(ptMoved);
    EXPECT_TRUE(guard.IsUserActive(Point{410, 300}, kNow + 2));
    EXPECT_FALSE(guard.IsUserActive(Point{410, 300}, kNow + 4));
}

TEST(UserActivityQuietTime, AClockSetBackCountsAsActive) {
    const Point ptMoved{400, 300};
    CUserActivityGuard guard = GuardAfterUserMove(ptMoved);
    EXPECT_TRUE(guard.IsUserActive(ptMoved, kNow - 3600));
    EXPECT_TRUE(guard.IsUserActive(ptMoved, kNow + 3));
    EXPECT_FALSE(guard.IsUserActive(ptMoved, kNow + 4));

    // Even long after the last move: Play backdates its reference by 15 seconds only.
    CUserActivityGuard playing = PlayingGuard();
    EXPECT_FALSE(playing.IsUserActive(kParked, kNow));
    EXPECT_TRUE(playing.IsUserActive(kParked, kNow - 16));
}

TEST(UserActivityStartPlay, TheFirstTickSearchesAtOnce) {
    CUserActivityGuard guard;
    // The user just moved the mouse to press Play; the pointer is then parked in the panel.
    EXPECT_TRUE(guard.IsUserActive(Point{900, 700}, kNow));
    guard.StartPlay(Point{10, 10}, kNow);
    EXPECT_EQ(guard.Reference(), (Point{10, 10}));
    EXPECT_EQ(guard.ReferenceTime(), kNow - 15);
    EXPECT_FALSE(guard.IsUserActive(Point{10, 10}, kNow));
}

TEST(UserActivityStartPlay, APointerMovedAfterParkingStillCounts) {
    CUserActivityGuard guard = PlayingGuard();
    EXPECT_TRUE(guard.IsUserActive(Point{100, 84}, kNow));
    EXPECT_TRUE(guard.IsUserActive(Point{100, 84}, kNow + 3));
    EXPECT_FALSE(guard.IsUserActive(Point{100, 84}, kNow + 4));
}

TEST(UserActivityStart, AFreshGuardTakesThePointerAwayFromTheCornerAsAMove) {
    // Reference (0, 0) at time 0: with the pointer resting near the corner the first tick searches,
    // anywhere else the loop waits four seconds.
    CUserActivityGuard nearCorner;
    EXPECT_FALSE(nearCorner.IsUserActive(Point{9, 12}, kNow));

    CUserActivityGuard elsewhere;
    EXPECT_TRUE(elsewhere.IsUserActive(Point{640, 480}, kNow));
    EXPECT_TRUE(elsewhere.IsUserActive(Point{640, 480}, kNow + 3));
    EXPECT_FALSE(elsewhere.IsUserActive(Point{640, 480}, kNow + 4));
}

TEST(UserActivityReference, SetReferenceKeepsTheTime) {
    CUserActivityGuard guard = GuardAfterUserMove(Point{400, 300});
    guard.SetReference(Point{800, 600});
    EXPECT_EQ(guard.ReferenceTime(), kNow);
    EXPECT_TRUE(guard.IsUserActive(Point{800, 600}, kNow + 3));
    EXPECT_FALSE(guard.IsUserActive(Point{800, 600}, kNow + 4));
    EXPECT_TRUE(guard.IsUserActive(Point{400, 300}, kNow + 5));
}

TEST(UserActivityDiagnostics, TextsShowTheReferenceBeforeTheTest) {
    CUserActivityGuard guard;
    guard.IsUserActive(Point{-3, 4}, kNow);
    EXPECT_EQ(guard.LastDiagnostics().OldText(), u"old: x=0 y=0");
    EXPECT_EQ(guard.LastDiagnostics().CurrentText(), u"cur: x=-3 y=4");
    EXPECT_EQ(guard.LastDiagnostics().DistanceText(), u"distance=5");

    guard.IsUserActive(Point{40, -5}, kNow);
    EXPECT_EQ(guard.LastDiagnostics().OldText(), u"old: x=0 y=0");
    EXPECT_EQ(guard.LastDiagnostics().CurrentText(), u"cur: x=40 y=-5");
    EXPECT_EQ(guard.LastDiagnostics().DistanceText(), u"distance=40");

    guard.IsUserActive(Point{40, -5}, kNow);
    EXPECT_EQ(guard.LastDiagnostics().OldText(), u"old: x=40 y=-5");
    EXPECT_EQ(guard.LastDiagnostics().DistanceText(), u"distance=0");
}

TEST(UserActivityExtremes, FarthestPointsAndClockEnds) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    CUserActivityGuard guard;
    guard.SetReference(Point{kMax, kMin});
    EXPECT_TRUE(guard.IsUserActive(Point{kMin, kMax}, kNow));
    EXPECT_EQ(guard.LastDiagnostics().DistanceText(), u"distance=2147483647");
    EXPECT_EQ(guard.LastDiagnostics().OldText(), u"old: x=2147483647 y=-2147483648");

    constexpr int64_t kEarliest = std::numeric_limits<int64_t>::min();
    constexpr int64_t kLatest = std::numeric_limits<int64_t>::max();
    guard.StartPlay(kParked, kEarliest + 3);
    EXPECT_EQ(guard.ReferenceTime(), kEarliest);
    EXPECT_TRUE(guard.IsUserActive(kParked, kEarliest + 3));
    EXPECT_FALSE(guard.IsUserActive(kParked, kLatest));
    guard.StartPlay(kParked, kLatest);
    EXPECT_TRUE(guard.IsUserActive(kParked, kEarliest));
}
