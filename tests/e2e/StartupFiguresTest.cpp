// Start-up figures: the time to the visible panel and the handles held, for an empty and for a
// long default list. Printed for people to compare; nothing here asserts a time.
#include "tests/e2e/EndToEndTest.h"

#include <cstdio>

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

}  // namespace
