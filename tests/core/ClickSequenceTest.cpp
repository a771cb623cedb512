// The click sequence driven step by step against a recording output and a fixed clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <vector>

#include "engine/ClickSequence.h"
#include "engine/UserActivity.h"

namespace {

constexpr int64_t kNow = 1'700'000'000;

enum class Kind { Move, Down, Up, Show, Hide };

struct Event {
    Kind kind;
    Point pt;
    friend bool operator==(const Event&, const Event&) = default;
};

void PrintTo(const Event& event, std::ostream* os) {
    static const char* const kNames[] = {"Move", "Down", "Up", "Show", "Hide"};
    *os << kNames[static_cast<int>(event.kind)];
    if (event.kind == Kind::Move || event.kind == Kind::Show) {
        *os << "(" << event.pt.x << ", " << event.pt.y << ")";
    }
}

Event Move(int32_t x, int32_t y) {
    return Event{Kind::Move, Point{x, y}};
}
Event Show(int32_t x, int32_t y) {
    return Event{Kind::Show, Point{x, y}};
}
const Event kDown{Kind::Down, Point{}};
const Event kUp{Kind::Up, Point{}};
const Event kHide{Kind::Hide, Point{}};

// Records what the sequence sends; its pointer goes wherever a move sends it, as the system's
// would.
class CRecordingOutput : public IClickOutput {
public:
    explicit CRecordingOutput(Point ptPointer) : m_ptPointer(ptPointer) {}

    void MoveTo(Point pt) override {
        m_events.push_back(Event{Kind::Move, pt});
        m_ptPointer = pt;
    }
    void ButtonDown() override { m_events.push_back(kDown); }
    void ButtonUp() override { m_events.push_back(kUp); }
    void ShowSight(Point pt) override { m_events.push_back(Event{Kind::Show, pt}); }
    void HideSight() override { m_events.push_back(kHide); }

    Point Pointer() const { return m_ptPointer; }
    // The user moves the mouse.
    void NudgePointer(int32_t dx, int32_t dy) {
        m_ptPointer = Point{m_ptPointer.x + dx, m_ptPointer.y + dy};
    }
    const std::vector<Event>& Events() const { return m_events; }
    // The events recorded since the last call.
    std::vector<Event> TakeEvents() {
        std::vector<Event> events;
        events.swap(m_events);
        return events;
    }

private:
    Point m_ptPointer;
    std::vector<Event> m_events;
};

// A sequence started at ptClick with the pointer at ptPointer.
struct ClickRig {
    ClickRig(Point ptClick, Point ptPointer, bool bMetroMode = false) : output(ptPointer) {
        guard.StartPlay(ptPointer, kNow);
        sequence.SetMetroMode(bMetroMode);
        sequence.Start(ptClick);
    }

    void Step() { sequence.Step(output.Pointer(), output, guard); }

    // Steps until idle; returns the number of steps, or -1 if it never got there.
    int StepToIdle() {
        for (int nSteps = 1; nSteps <= 200; ++nSteps) {
            Step();
            if (sequence.IsIdle()) {
                return nSteps;
            }
        }
        return -1;
    }

    // The main dialog's timer handler: the activity guard first, then a step if the user is not
    // active; an active user aborts the click.
    void Tick(int64_t nNow) {
        if (guard.IsUserActive(output.Pointer(), nNow)) {
            if (sequence.IsClicking()) {
                sequence.End(output);
            }
        } else if (!sequence.IsIdle()) {
            Step();
        }
    }

    CRecordingOutput output;
    CUserActivityGuard guard;
    CClickSequence sequence;
};

}  // namespace

TEST(ClickSequenceGlide, EightHundredPixelsTakeEightHalvingMoves) {
    ClickRig rig(Point{1000, 600}, Point{1800, 1400});
    EXPECT_EQ(rig.sequence.State(), ClickState::Chosen);
    EXPECT_TRUE(rig.sequence.IsClicking());
    EXPECT_EQ(rig.sequence.ClickPoint(), (Point{1000, 600}));

    rig.Step();
    EXPECT_EQ(rig.output.TakeEvents(), (std::vector<Event>{Show(1000, 600)}));
    EXPECT_EQ(rig.sequence.State(), ClickState::Gliding);

    // 400, 200, 100, 50, 25, 12, 6 and 3 pixels from the point.
    const std::vector<Event> glide = {Move(1400, 1000), Move(1200, 800), Move(1100, 700),
                                      Move(1050, 650),  Move(1025, 625), Move(1012, 612),
                                      Move(1006, 606),  Move(1003, 603)};
    for (const Event& move : glide) {
        rig.Step();
        EXPECT_EQ(rig.output.TakeEvents(), std::vector<Event>{move});
        EXPECT_EQ(rig.sequence.State(), ClickState::Gliding);
    }

    rig.Step();
    EXPECT_TRUE(rig.output.TakeEvents().empty());
    EXPECT_EQ(rig.sequence.State(), ClickState::Placing);

    rig.Step();
    EXPECT_EQ(rig.output.TakeEvents(), std::vector<Event>{Move(1000, 600)});
    EXPECT_EQ(rig.sequence.State(), ClickState::Pressing);

    rig.Step();
    EXPECT_EQ(rig.output.TakeEvents(), std::vector<Event>{kDown});
    EXPECT_EQ(rig.sequence.State(), ClickState::ButtonDown);

    // Released once: the end of the sequence must not release the button again.
    rig.Step();
    EXPECT_EQ(rig.output.TakeEvents(), (std::vector<Event>{kUp, kHide}));
    EXPECT_TRUE(rig.sequence.IsIdle());
    EXPECT_FALSE(rig.sequence.IsClicking());

    rig.Step();
    EXPECT_TRUE(rig.output.TakeEvents().empty());
}

TEST(ClickSequenceGlide, NegativeCoordinatesHalveTowardZero) {
    ClickRig rig(Point{-1000, -600}, Point{-1800, -1400});
    EXPECT_EQ(rig.StepToIdle(), 13);
    // (-1000 + -1025) / 2 is -1012, not -1013.
    EXPECT_EQ(rig.output.Events(),
              (std::vector<Event>{Show(-1000, -600), Move(-1400, -1000), Move(-1200, -800),
                                  Move(-1100, -700), Move(-1050, -650), Move(-1025, -625),
                                  Move(-1012, -612), Move(-1006, -606), Move(-1003, -603),
                                  Move(-1000, -600), kDown, kUp, kHide}));
}

TEST(ClickSequenceGlide, MidpointsTruncateTowardZeroAcrossTheOrigin) {
    ClickRig rig(Point{5, -5}, Point{-10, 10});
    rig.Step();
    rig.Step();
    // (5 + -10) / 2 = -2 and (-5 + 10) / 2 = 2.
    EXPECT_EQ(rig.output.Events(), (std::vector<Event>{Show(5, -5), Move(-2, 2)}));
}

TEST(ClickSequenceGlide, TruncationMakesTheFarSideTakeOneMoveMore) {
    // From below the point the truncated halves fall short of it: 400, 200, 100, 50, 25, 13, 7,
    // 4 and 2 pixels away.
    ClickRig rig(Point{1000, 600}, Point{200, -200});
    EXPECT_EQ(rig.StepToIdle(), 14);
    EXPECT_EQ(
        rig.output.Events(),
        (std::vector<Event>{Show(1000, 600), Move(600, 200), Move(800, 400), Move(900, 500),
                            Move(950, 550), Move(975, 575), Move(987, 587), Move(993, 593),
                            Move(996, 596), Move(998, 598), Move(1000, 600), kDown, kUp, kHide}));
}

TEST(ClickSequenceGlide, WithinThreePixelsOnEitherAxisSkipsTheGlide) {
    const Point ptClick{500, 500};
    for (int32_t nOffset = -3; nOffset <= 3; ++nOffset) {
        for (const Point ptPointer : {Point{500 + nOffset, 100}, Point{900, 500 + nOffset}}) {
            ClickRig rig(ptClick, ptPointer);
            EXPECT_EQ(rig.StepToIdle(), 5) << ptPointer.x << ", " << ptPointer.y;
            EXPECT_EQ(rig.output.Events(),
                      (std::vector<Event>{Show(500, 500), Move(500, 500), kDown, kUp, kHide}));
        }
    }
}

TEST(ClickSequenceGlide, FourPixelsOnBothAxesStillGlides) {
    struct Case {
        Point ptPointer;
        Point ptMid;
    };
    for (const Case& c : {Case{{504, 496}, {502, 498}}, Case{{496, 504}, {498, 502}}}) {
        ClickRig rig(Point{500, 500}, c.ptPointer);
        rig.Step();
        rig.Step();
        EXPECT_EQ(rig.output.Events(),
                  (std::vector<Event>{Show(500, 500), Move(c.ptMid.x, c.ptMid.y)}));
        EXPECT_EQ(rig.sequence.State(), ClickState::Gliding);
    }
}

TEST(ClickSequenceGlide, ClickPointsAtTheEndsOfInt32) {
    // A large click shift can put the point anywhere; sums of coordinates must not overflow.
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    ClickRig rig(Point{kMax, kMin}, Point{kMin, kMax});
    rig.Step();
    rig.Step();
    rig.Step();
    EXPECT_EQ(rig.output.Events(),
              (std::vector<Event>{Show(kMax, kMin), Move(0, 0), Move(kMax / 2, kMin / 2)}));

    const int nSteps = rig.StepToIdle();
    EXPECT_GT(nSteps, 0);
    const std::vector<Event>& events = rig.output.Events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(std::vector<Event>(events.end() - 4, events.end()),
              (std::vector<Event>{Move(kMax, kMin), kDown, kUp, kHide}));

    ClickRig nearEnd(Point{kMax - 2, kMin + 2}, Point{kMax, kMin});
    EXPECT_EQ(nearEnd.StepToIdle(), 5);
}

namespace {

// A sequence brought to `state` with the pointer 1 pixel from the click point, so that every
// state from Chosen to ButtonDown is one step after the one before; its events are cleared.
ClickRig RigInState(ClickState state, bool bMetroMode) {
    ClickRig rig(Point{300, 200}, Point{301, 201}, bMetroMode);
    for (int nStep = 0; nStep < 5 && rig.sequence.State() != state; ++nStep) {
        rig.Step();
    }
    EXPECT_EQ(rig.sequence.State(), state);
    rig.output.TakeEvents();
    return rig;
}

constexpr ClickState kBusyStates[] = {ClickState::Chosen, ClickState::Gliding, ClickState::Placing,
                                      ClickState::Pressing, ClickState::ButtonDown};

}  // namespace

TEST(ClickSequenceEnd, AbortReleasesTheButtonOnlyWhenItIsDown) {
    for (const ClickState state : kBusyStates) {
        ClickRig rig = RigInState(state, false);
        rig.sequence.End(rig.output);
        const std::vector<Event> expected = state == ClickState::ButtonDown
                                                ? std::vector<Event>{kUp, kHide}
                                                : std::vector<Event>{kHide};
        EXPECT_EQ(rig.output.TakeEvents(), expected) << static_cast<int>(state);
        EXPECT_TRUE(rig.sequence.IsIdle());
        EXPECT_FALSE(rig.sequence.IsClicking());

        rig.Step();
        EXPECT_TRUE(rig.output.TakeEvents().empty());
    }
}

TEST(ClickSequenceEnd, EndWhenIdleReleasesNothing) {
    CRecordingOutput output(Point{});
    CClickSequence sequence;
    EXPECT_TRUE(sequence.IsIdle());
    sequence.End(output);
    EXPECT_EQ(output.Events(), std::vector<Event>{kHide});
}

TEST(ClickSequenceMetroMode, TheSightIsNeverShownOrHidden) {
    ClickRig rig(Point{1000, 600}, Point{1800, 1400}, true);
    EXPECT_EQ(rig.StepToIdle(), 13);
    EXPECT_EQ(rig.output.Events(),
              (std::vector<Event>{Move(1400, 1000), Move(1200, 800), Move(1100, 700),
                                  Move(1050, 650), Move(1025, 625), Move(1012, 612),
                                  Move(1006, 606), Move(1003, 603), Move(1000, 600), kDown, kUp}));

    for (const ClickState state : kBusyStates) {
        ClickRig aborted = RigInState(state, true);
        aborted.sequence.End(aborted.output);
        const std::vector<Event> expected =
            state == ClickState::ButtonDown ? std::vector<Event>{kUp} : std::vector<Event>{};
        EXPECT_EQ(aborted.output.Events(), expected) << static_cast<int>(state);
        EXPECT_TRUE(aborted.sequence.IsIdle());
    }
}

TEST(ClickSequenceGuard, TheProgramsOwnMovesAreNotTakenForTheUsers) {
    ClickRig rig(Point{1000, 600}, Point{1800, 1400});
    rig.Step();  // the play step that found the target steps at once
    for (int nTick = 0; nTick < 20 && !rig.sequence.IsIdle(); ++nTick) {
        rig.Tick(kNow);
        if (!rig.output.Events().empty() && rig.output.Events().back().kind == Kind::Move) {
            EXPECT_EQ(rig.guard.Reference(), rig.output.Events().back().pt);
        }
    }
    EXPECT_TRUE(rig.sequence.IsIdle());
    EXPECT_EQ(rig.output.Events().size(), 13u);
    EXPECT_EQ(rig.output.Events().back(), kHide);
    EXPECT_EQ(rig.guard.Reference(), (Point{1000, 600}));
    EXPECT_FALSE(rig.guard.IsUserActive(rig.output.Pointer(), kNow));
}

TEST(ClickSequenceGuard, AUserMoveOfSixteenPixelsAbortsTheGlide) {
    ClickRig rig(Point{1000, 600}, Point{1800, 1400});
    rig.Step();
    rig.Tick(kNow);
    rig.Tick(kNow);
    rig.Tick(kNow);
    EXPECT_EQ(rig.sequence.State(), ClickState::Gliding);
    rig.output.TakeEvents();

    rig.output.NudgePointer(0, -16);
    rig.Tick(kNow);
    EXPECT_EQ(rig.output.TakeEvents(), std::vector<Event>{kHide});
    EXPECT_TRUE(rig.sequence.IsIdle());
    // The loop holds off for four quiet seconds.
    EXPECT_TRUE(rig.guard.IsUserActive(rig.output.Pointer(), kNow + 3));
    EXPECT_FALSE(rig.guard.IsUserActive(rig.output.Pointer(), kNow + 4));
}

TEST(ClickSequenceGuard, AUserMoveWhileTheButtonIsDownReleasesItAtOnce) {
    ClickRig rig = RigInState(ClickState::ButtonDown, false);
    rig.output.NudgePointer(-12, 12);
    rig.Tick(kNow);
    EXPECT_EQ(rig.output.TakeEvents(), (std::vector<Event>{kUp, kHide}));
    EXPECT_TRUE(rig.sequence.IsIdle());
}

TEST(ClickSequenceGuard, AUserMoveOfFifteenPixelsLetsTheClickFinish) {
    ClickRig rig(Point{1000, 600}, Point{1800, 1400});
    rig.Step();
    rig.Tick(kNow);
    rig.Tick(kNow);  // at (1200, 800)
    rig.output.NudgePointer(9, -12);
    rig.Tick(kNow);
    EXPECT_EQ(rig.output.Events().back(), Move(1104, 694));
    for (int nTick = 0; nTick < 20 && !rig.sequence.IsIdle(); ++nTick) {
        rig.Tick(kNow);
    }
    const std::vector<Event>& events = rig.output.Events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(std::vector<Event>(events.end() - 4, events.end()),
              (std::vector<Event>{Move(1000, 600), kDown, kUp, kHide}));
}
