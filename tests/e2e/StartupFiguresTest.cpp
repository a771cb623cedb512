// Start-up figures: the time to the visible panel and the handles held, for an empty and for a
// long default list; and at the display's DPI, the start-up and a full repaint with 50 tiles.
// Printed for people to compare; nothing here asserts a time.
#include "tests/e2e/EndToEndTest.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class StartupFigures : public CEndToEndTest {
protected:
    // Starts Tarvik with the default list as prepared, prints the figures and closes it.
    void MeasureStart(const char* pszLabel, size_t nTargets) {
        ASSERT_NO_FATAL_FAILURE(StartTarvik());
        const double dStartupMs = m_dStartupMs;
        ASSERT_TRUE(WaitForTileCount(nTargets));
        Scene(pszLabel);
        const std::optional<long> nHandles = LiveHandleCount(m_hMain);
        ASSERT_TRUE(nHandles.has_value()) << "no answer to Tarvik.LiveHandleCount";
        EXPECT_GT(*nHandles, 0) << "the panel's icons and bitmaps are held by owners";
        std::printf("startup %s: %.0f ms\n", pszLabel, dStartupMs);
        std::printf("handles %s: %ld\n", pszLabel, *nHandles);
        ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    }
};

TEST_F(StartupFigures, EmptyListAndFiveHundredTargets) {
    // A Tarvik killed by an earlier test leaves its tray icon to be cleaned up, which holds up
    // the next start for a while under Wine; one normal start and close first settles that.
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    RemoveDefaultList();

    ASSERT_NO_FATAL_FAILURE(MeasureStart("empty", 0));
    WriteTargetListFile(DefaultListPath(), 500);
    ASSERT_NO_FATAL_FAILURE(MeasureStart("500-targets", 500));
}

// At 96 DPI with the other scenes, at 144 and 192 on the displays of tarvik_e2e_scale_*.
class ScaleFigures : public StartupFigures {};

TEST_F(ScaleFigures, StartupAndFullRepaintWithFiftyTiles) {
    constexpr size_t kTargets = 50;
    constexpr int kRepaints = 20;
    // Real pixels, whatever Wine would do for a process unaware of the DPI.
    SetProcessDPIAware();
    const HDC hScreen = GetDC(nullptr);
    const int nDpi = GetDeviceCaps(hScreen, LOGPIXELSX);
    ReleaseDC(nullptr, hScreen);
    // As above, one start and close first settles what an earlier test left.
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());

    WriteTargetListFile(DefaultListPath(), static_cast<int>(kTargets));
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const double dStartupMs = m_dStartupMs;
    ASSERT_TRUE(WaitForTileCount(kTargets));
    Scene("50-targets");

    // The panel and every tile window invalidated and painted again, in Tarvik's thread, before
    // RedrawWindow returns; tiles scrolled out of view have nothing to paint.
    std::vector<double> repaintsMs;
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < kRepaints; ++i) {
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&start);
        ASSERT_TRUE(RedrawWindow(m_hMain, nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN));
        QueryPerformanceCounter(&end);
        repaintsMs.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                             static_cast<double>(frequency.QuadPart));
    }
    std::sort(repaintsMs.begin(), repaintsMs.end());
    ASSERT_TRUE(TarvikResponds());
    std::printf("[ figures  ] %d DPI: start-up with %zu targets: %.0f ms\n", nDpi, kTargets,
                dStartupMs);
    std::printf(
        "[ figures  ] %d DPI: full repaint of the panel with %zu tiles: median %.1f ms, "
        "slowest %.1f ms of %d\n",
        nDpi, kTargets, repaintsMs[repaintsMs.size() / 2], repaintsMs.back(), kRepaints);
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}

}  // namespace
