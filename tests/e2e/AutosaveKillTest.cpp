// A kill while Tarvik writes its default list at close never leaves a damaged default file.
#include "tests/e2e/EndToEndTest.h"

#include <cstdio>

namespace {

class AutosaveKill : public CEndToEndTest {};

TEST_F(AutosaveKill, DefaultListStaysCompleteWhenTheCloseIsKilledAtAnyMoment) {
    // Large enough that writing it takes a while, so the kills land in the middle of it.
    constexpr int kTargets = 300;
    const auto list = MakeTargetList(kTargets);
    const std::vector<DWORD> delaysMs = {0, 1, 2, 4, 8, 15, 25, 40, 60, 90, 130, 200, 300, 500};
    bool bFirst = true;
    for (const DWORD nDelayMs : delaysMs) {
        SCOPED_TRACE("kill " + std::to_string(nDelayMs) + " ms after WM_CLOSE");
        std::error_code error;
        std::filesystem::remove_all(DefaultListPath().parent_path(), error);
        WriteTargetListFile(DefaultListPath(), kTargets);
        ASSERT_NO_FATAL_FAILURE(StartTarvik());
        ASSERT_TRUE(WaitForTileCount(kTargets));
        if (bFirst) {
            Scene("loaded");
            std::printf("default list of %d targets: %zu bytes\n", kTargets,
                        FileBytes(DefaultListPath()).size());
        }

        ASSERT_TRUE(PostMessageW(m_hMain, WM_CLOSE, 0, 0));
        Sleep(nDelayMs);
        const bool bStillRunning = m_pTarvik->IsRunning();
        m_pTarvik->Kill();
        // What the kill interrupted shows in the files it left: a temporary file beside the
        // default file means the write was under way.
        bool bPartialLeft = false;
        for (const auto& entry :
             std::filesystem::directory_iterator(DefaultListPath().parent_path(), error)) {
            bPartialLeft = bPartialLeft || entry.path() != DefaultListPath();
        }
        std::printf("kill %lu ms after WM_CLOSE: %s%s\n", nDelayMs,
                    bStillRunning ? "killed while closing" : "had already ended",
                    bPartialLeft ? ", an unfinished temporary file was left" : "");
        if (bFirst) {
            Scene("killed");
            bFirst = false;
        }

        std::string strError;
        const auto read = ReadTargetListFile(DefaultListPath(), &strError);
        ASSERT_NE(read, nullptr) << "the default file does not load: " << strError;
        EXPECT_TRUE(SameTargets(*list, *read));
        m_pTarvik.reset();
    }
}

}  // namespace
