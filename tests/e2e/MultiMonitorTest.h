// The fixture of the multi-monitor scenes, which run on the two-monitor test display
// (tools/wine-session.sh ... two-monitors): the primary monitor 1280 x 1024 at (0, 0) and a second
// one 1024 x 768 left of and above it. The layout can be changed while the scene runs, as when a
// monitor is unplugged; every scene starts and ends with both monitors.
#pragma once

#include "engine/DesktopCoords.h"
#include "tests/e2e/PlayTest.h"

#include <string>

inline constexpr Rect kPrimaryMonitor{0, 0, 1280, 1024};
inline constexpr Rect kSecondMonitor{-1024, -300, 0, 468};

// The monitors as the system lists them now.
DesktopLayout CurrentLayout();

class CMultiMonitorTest : public CPlayTest {
protected:
    // Both monitors in place (a scene that failed may have left one off), then the fixture's
    // fresh state.
    void SetUp() override;
    // Ends Tarvik and the board, then turns the second monitor on again if the scene turned it
    // off.
    void TearDown() override;

    // Runs the display's layout script with `strLayout` ("two" or "primary") and waits until the
    // system reports `nMonitors` monitors. Use with ASSERT_NO_FATAL_FAILURE.
    static void SetLayout(const std::wstring& strLayout, size_t nMonitors);
};
