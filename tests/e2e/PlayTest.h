// The fixture of the play scenarios: a board showing pictures, Tarvik with a default list of
// them, Play pressed with the pointer, and what the board received.
#pragma once

#include "tests/board/BoardProcess.h"
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/PlayScene.h"

#include <memory>
#include <vector>

class CPlayTest : public CEndToEndTest {
protected:
    // Writes the default list of `targets`, starts the board showing them (those in `hidden` not
    // yet) and then Tarvik. Use with ASSERT_NO_FATAL_FAILURE.
    // Without a window manager Wine raises a window that is clicked above all others, even
    // topmost ones: a scene where the board is clicked while Tarvik's windows must stay in view
    // bounds the board with `window`.
    void StartScene(std::vector<PlayTarget> targets, std::vector<size_t> hidden = {},
                    std::optional<Rect> window = {});
    // Clicks Play with the pointer and returns the board-comparable time of the release.
    // Use with ASSERT_NO_FATAL_FAILURE.
    void PressPlay(uint64_t* pnReleasedAt = nullptr);
    // The board's presses and releases, in order.
    std::vector<BoardEvent> ButtonEvents() const;
    // Waits until the board has logged `nCount` presses and as many releases.
    bool WaitForClicks(size_t nCount, DWORD nTimeoutMs = kReactionTimeoutMs) const;
    // Whether every press and release so far came in down-up pairs at `pt`; the message names the
    // first that did not.
    ::testing::AssertionResult AllClicksAt(Point pt, size_t nFirst = 0) const;
    // Polls until Tarvik shows its sight window; null when it did not within the time.
    HWND WaitForSight(DWORD nTimeoutMs = kReactionTimeoutMs) const;

    std::vector<PlayTarget> m_targets;
    std::unique_ptr<CBoardProcess> m_pBoard;
};
