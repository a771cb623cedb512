// A list of 1,000 targets: every tile shows at start-up, and New / Load cycles give back every
// handle. Prints the start-up time and what each tile costs in handles and memory.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/TarvikState.h"

#include <psapi.h>

#include <cstdio>

namespace {

constexpr size_t kTargets = 1000;

class ThousandTiles : public CEndToEndTest {
protected:
    std::optional<long> SettledHandleCount() const {
        RedrawWindow(m_hMain, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return LiveHandleCount(m_hMain);
    }
    // Tarvik's committed memory, or 0 when they cannot be read.
    size_t PrivateBytes() const {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        if (!GetProcessMemoryInfo(m_pTarvik->Handle(),
                                  reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                  sizeof(counters))) {
            return 0;
        }
        // Wine leaves PrivateUsage at 0; its page-file usage is the committed memory.
        return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    }
    // The number of windows of Tarvik's thread: the tiles are windows, not owned handles.
    size_t ThreadWindowCount() const {
        size_t nCount = 0;
        const DWORD nThread = GetWindowThreadProcessId(m_hMain, nullptr);
        EnumThreadWindows(
            nThread,
            [](HWND hWnd, LPARAM lParam) {
                size_t& nWindows = *reinterpret_cast<size_t*>(lParam);
                ++nWindows;
                EnumChildWindows(
                    hWnd,
                    [](HWND, LPARAM lInner) {
                        ++*reinterpret_cast<size_t*>(lInner);
                        return TRUE;
                    },
                    lParam);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&nCount));
        return nCount;
    }
};

TEST_F(ThousandTiles, StartShowsEveryTileAndLoadCyclesKeepHandlesFlat) {
    // The empty start is the reference for the per-tile figures.
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(0));
    const std::optional<long> nEmptyHandles = SettledHandleCount();
    ASSERT_TRUE(nEmptyHandles.has_value());
    const size_t nEmptyBytes = PrivateBytes();
    const size_t nEmptyWindows = ThreadWindowCount();
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());

    const std::filesystem::path file = ScratchFolder() / L"thousand.trvk";
    WriteTargetListFile(file, static_cast<int>(kTargets));
    WriteTargetListFile(DefaultListPath(), static_cast<int>(kTargets));
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(kTargets));
    const std::optional<long> nBaseline = SettledHandleCount();
    ASSERT_TRUE(nBaseline.has_value());
    const size_t nBytes = PrivateBytes();
    const size_t nWindows = ThreadWindowCount();
    Scene("start");
    std::printf("startup with %zu targets: %.0f ms\n", kTargets, m_dStartupMs);
    std::printf(
        "per target with its tile: %.2f owned handles, %.2f windows, %.1f KiB memory\n",
        static_cast<double>(*nBaseline - *nEmptyHandles) / kTargets,
        static_cast<double>(nWindows - nEmptyWindows) / kTargets,
        (static_cast<double>(nBytes) - static_cast<double>(nEmptyBytes)) / kTargets / 1024.0);

    for (int nCycle = 1; nCycle <= 5; ++nCycle) {
        SCOPED_TRACE("cycle " + std::to_string(nCycle));
        ASSERT_NO_FATAL_FAILURE(NewThenLoad(file, kTargets));
        const std::optional<long> nCount = SettledHandleCount();
        ASSERT_TRUE(nCount.has_value());
        std::printf("handles after New/Load cycle %d: %ld (start %ld), windows %zu (start %zu)\n",
                    nCycle, *nCount, *nBaseline, ThreadWindowCount(), nWindows);
        EXPECT_EQ(*nCount, *nBaseline);
        EXPECT_EQ(ThreadWindowCount(), nWindows);
    }
    Scene("after-cycles");
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}

}  // namespace
