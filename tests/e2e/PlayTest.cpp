// The play fixture's steps.
#include "tests/e2e/PlayTest.h"

#include "tests/e2e/RealInput.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/Waiting.h"

void CPlayTest::StartScene(std::vector<PlayTarget> targets, std::vector<size_t> hidden,
                           std::optional<Rect> window) {
    m_targets = std::move(targets);
    WritePlayList(m_targets, DefaultListPath());
    m_pBoard = std::make_unique<CBoardProcess>(BoardArgumentsFor(
        m_targets, ScratchFolder() / "board", ScratchFolder() / "board.log", hidden, window));
    ASSERT_TRUE(m_pBoard->IsReady())
        << "the board did not start (error " << m_pBoard->StartError() << ")";
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
}

void CPlayTest::PressPlay(uint64_t* pnReleasedAt) {
    const HWND hPlay = Control(kIdPlay);
    ASSERT_TRUE(IsWindowEnabled(hPlay)) << "Play is disabled: the list did not load";
    ASSERT_TRUE(GlidePointer(CentreOf(ScreenRectOf(hPlay))));
    PressLeftButton();
    ReleaseLeftButton();
    if (pnReleasedAt != nullptr) {
        *pnReleasedAt = GetTickCount64();
    }
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(hPlay, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
        << "Play did not become checked";
}

std::vector<BoardEvent> CPlayTest::ButtonEvents() const {
    std::vector<BoardEvent> events = m_pBoard->Events();
    std::erase_if(events, [](const BoardEvent& event) {
        return event.kind != BoardEvent::Kind::Down && event.kind != BoardEvent::Kind::Up;
    });
    return events;
}

bool CPlayTest::WaitForClicks(size_t nCount, DWORD nTimeoutMs) const {
    return m_pBoard->WaitForEvents(
        [&](const std::vector<BoardEvent>& events) {
            return CountBoardEvents(events, BoardEvent::Kind::Down) >= nCount &&
                   CountBoardEvents(events, BoardEvent::Kind::Up) >= nCount;
        },
        nTimeoutMs);
}

::testing::AssertionResult CPlayTest::AllClicksAt(Point pt, size_t nFirst) const {
    const std::vector<BoardEvent> events = ButtonEvents();
    for (size_t i = nFirst * 2; i < events.size(); ++i) {
        const BoardEvent& event = events[i];
        const BoardEvent::Kind expected =
            i % 2 == 0 ? BoardEvent::Kind::Down : BoardEvent::Kind::Up;
        if (event.kind != expected || event.x != pt.x || event.y != pt.y) {
            return ::testing::AssertionFailure()
                   << "button event " << i << " is " << FormatBoardEvent(event) << "expected a "
                   << (i % 2 == 0 ? "press" : "release") << " at (" << pt.x << ", " << pt.y << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

HWND CPlayTest::WaitForSight(DWORD nTimeoutMs) const {
    HWND hSight = nullptr;
    WaitUntil(
        [&] {
            hSight = FindShownSight(m_pTarvik->Id(), m_hMain);
            return hSight != nullptr;
        },
        nTimeoutMs, 1);
    return hSight;
}
