// Repeated New and Load give back every handle they take.
#include "tests/e2e/EndToEndTest.h"

#include <cstdio>

namespace {

class HandleLeak : public CEndToEndTest {
protected:
    // The count once every window has painted, so that pictures made for painting are counted
    // the same way each time.
    std::optional<long> SettledHandleCount() const {
        RedrawWindow(m_hMain, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return LiveHandleCount(m_hMain);
    }
};

TEST_F(HandleLeak, FiveNewAndLoadCyclesComeBackToTheStartCount) {
    const std::filesystem::path file = ScratchFolder() / L"three.trvk";
    WriteTargetListFile(file, 3);
    WriteTargetListFile(DefaultListPath(), 3);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));
    const std::optional<long> nBaseline = SettledHandleCount();
    ASSERT_TRUE(nBaseline.has_value()) << "no answer to Tarvik.LiveHandleCount";
    ASSERT_GT(*nBaseline, 0) << "the panel's icons and bitmaps are held by owners";
    std::printf("handles after start-up with 3 targets: %ld\n", *nBaseline);
    Scene("start");

    for (int nCycle = 1; nCycle <= 5; ++nCycle) {
        SCOPED_TRACE("cycle " + std::to_string(nCycle));
        ASSERT_NO_FATAL_FAILURE(NewThenLoad(file, 3));

        const std::optional<long> nCount = SettledHandleCount();
        ASSERT_TRUE(nCount.has_value());
        std::printf("handles after New/Load cycle %d: %ld\n", nCycle, *nCount);
        if (nCycle == 5) {
            Scene("after-cycles");
            EXPECT_EQ(*nCount, *nBaseline);
        }
    }
}

}  // namespace
