// The real single-instance guard in-process: two guards on a test block play the running
// instance and a later start.
#include "FrameworkTestUtil.h"
#include "app/HandOffSlot.h"
#include "app/InstanceGuard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// A block name of this test alone, so that no running Tarvik is disturbed.
std::wstring TestBlockName() {
    const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    return L"TarvikTests.Guard." + std::to_wstring(::GetCurrentProcessId()) + L"." +
           std::wstring(pInfo->name(), pInfo->name() + std::strlen(pInfo->name()));
}

// A hidden top-level window of `pszClass`, destroyed with the object.
class CHiddenWindow {
public:
    explicit CHiddenWindow(const wchar_t* pszClass)
        : m_hWnd(::CreateWindowExW(0, pszClass, L"Tarvik", WS_POPUP, 10, 10, 50, 50, nullptr,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr)) {}
    ~CHiddenWindow() { ::DestroyWindow(m_hWnd); }
    CHiddenWindow(const CHiddenWindow&) = delete;
    CHiddenWindow& operator=(const CHiddenWindow&) = delete;
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

// Waits (pumping nothing) until the hand-off message is posted to `hWnd`; about 5 s at most.
bool WaitForHandOffMessage(HWND hWnd) {
    MSG msg;
    for (int i = 0; i < 500; ++i) {
        if (::PeekMessageW(&msg, hWnd, HandOffMessage(), HandOffMessage(), PM_REMOVE)) {
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

}  // namespace

TEST(InstanceGuard, BlockThatCannotBeCreatedLeavesEveryStartRunningAlone) {
    // Something else holds the block's name: the mapping cannot be created.
    const std::wstring strName = TestBlockName();
    const COwnedHandle squatter(::CreateMutexW(nullptr, FALSE, strName.c_str()));
    ASSERT_TRUE(squatter);
    CInstanceGuard first(strName), second(strName);
    first.SetCommandLineFile(L"own.trvk");
    second.SetCommandLineFile(std::nullopt);
    EXPECT_TRUE(first.Start(nullptr));
    EXPECT_TRUE(second.Start(nullptr));
    EXPECT_FALSE(first.Watching());
    // The own file still opens.
    EXPECT_EQ(first.Register(nullptr), AbsolutePath(L"own.trvk"));
}

TEST(InstanceGuard, LaterStartRestoresTheBlocksWindowOnlyWhenItIsATarvikPanel) {
    const CHiddenWindow plain(L"STATIC");
    const CHiddenWindow dialog(WC_DIALOG);
    ASSERT_NE(plain.Get(), nullptr);
    ASSERT_NE(dialog.Get(), nullptr);
    for (const HWND hRunning : {plain.Get(), dialog.Get()}) {
        const std::wstring strName = TestBlockName() + std::to_wstring(hRunning == dialog.Get());
        CInstanceGuard running(strName), later(strName);
        later.SetCommandLineFile(std::nullopt);
        ASSERT_TRUE(running.Start(hRunning));
        // A block naming anything but a Tarvik panel is taken over: that start runs as the first.
        const bool bLater = !later.Start(nullptr);
        EXPECT_EQ(bLater, hRunning == dialog.Get());
        if (bLater) {
            EXPECT_EQ(later.HandOver(), HandOverResult::Handed);
        }
        // This test program counts as Tarvik here: its dialog is restored, the plain window not.
        EXPECT_EQ(::IsWindowVisible(hRunning) != FALSE, hRunning == dialog.Get());
        running.Stop();
    }
}

TEST(InstanceGuard, FilesOfQuickLaterStartsArriveWholeAbsoluteAndInOrder) {
    CScriptedPrompts prompts;
    const CPromptsOverride promptsOverride(prompts);
    const CHiddenWindow panel(WC_DIALOG);
    const std::wstring strName = TestBlockName();
    CInstanceGuard running(strName);
    running.SetCommandLineFile(std::nullopt);
    ASSERT_TRUE(running.Start(panel.Get()));
    ASSERT_TRUE(running.Watching());
    EXPECT_EQ(running.Register(panel.Get()), L"");

    const std::wstring strTooLong = L"C:\\" + std::wstring(300, L'x') + L".trvk";
    const std::wstring files[] = {L"first list.trvk", L"C:\\lists\\second.trvk", strTooLong};
    for (const std::wstring& strFile : files) {
        // One after the other without waiting: each later start waits for the slot itself.
        CInstanceGuard later(strName);
        later.SetCommandLineFile(strFile);
        EXPECT_FALSE(later.Start(nullptr));
        EXPECT_EQ(later.HandOver(),
                  strFile == strTooLong ? HandOverResult::Refused : HandOverResult::Handed);
    }
    ASSERT_TRUE(WaitForHandOffMessage(panel.Get()));
    std::vector<std::wstring> taken;
    for (int i = 0; i < 100 && taken.size() < 2; ++i) {
        while (std::optional<std::wstring> file = running.TakeHandedFile()) {
            taken.push_back(*file);
        }
        ::Sleep(20);
    }
    EXPECT_EQ(taken, (std::vector<std::wstring>{AbsolutePath(L"first list.trvk"),
                                                L"C:\\lists\\second.trvk"}));
    EXPECT_TRUE(std::filesystem::path(taken.at(0)).is_absolute());
    EXPECT_EQ(running.LastFile(), L"C:\\lists\\second.trvk");
    // The path too long for the slot was refused with a word to the user, not cut.
    ASSERT_EQ(prompts.m_calls.size(), 1u);
    std::wstring strShown = prompts.m_calls[0].strText;
    std::erase(strShown, L'\n');
    EXPECT_NE(strShown.find(strTooLong), std::wstring::npos);
    EXPECT_NE(prompts.m_calls[0].strText.find(L"too long"), std::wstring::npos);
    running.Stop();
    EXPECT_FALSE(running.Watching());
}

TEST(InstanceGuard, FilesOfManySimultaneousLaterStartsArriveOnceInTheOrderTheyEnteredTheSlot) {
    const CHiddenWindow panel(WC_DIALOG);
    const std::wstring strName = TestBlockName();
    CInstanceGuard running(strName);
    running.SetCommandLineFile(std::nullopt);
    ASSERT_TRUE(running.Start(panel.Get()));
    EXPECT_EQ(running.Register(panel.Get()), L"");
    constexpr int kStarts = 20;
    std::mutex entryMutex;
    std::vector<std::wstring> handed, entered;
    std::vector<HandOverResult> results(kStarts, HandOverResult::RunningGone);
    for (int i = 0; i < kStarts; ++i) {
        handed.push_back(L"C:\\lists\\" + std::to_wstring(100 + i) + L".trvk");
    }
    std::atomic<int> nEnded{0};
    std::vector<std::thread> starts;
    for (int i = 0; i < kStarts; ++i) {
        starts.emplace_back([&, i] {
            CInstanceGuard later(strName);
            later.SetCommandLineFile(handed[i]);
            later.SetSlotWrittenObserver([&](const std::wstring& strPath) {
                const std::lock_guard<std::mutex> lock(entryMutex);
                entered.push_back(strPath);
            });
            if (!later.Start(nullptr)) {
                results[i] = later.HandOver();
            }
            ++nEnded;
        });
    }
    // Restoring the panel sends it messages: they are answered here while the starts run.
    while (nEnded < kStarts) {
        PumpPendingMessages();
        ::Sleep(5);
    }
    for (std::thread& start : starts) {
        start.join();
    }
    EXPECT_EQ(std::count(results.begin(), results.end(), HandOverResult::Handed), kStarts);
    std::vector<std::wstring> taken;
    for (int i = 0; i < 100 && taken.size() < handed.size(); ++i) {
        while (std::optional<std::wstring> file = running.TakeHandedFile()) {
            taken.push_back(*file);
        }
        ::Sleep(20);
    }
    EXPECT_EQ(taken, entered);
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ(taken, handed);
    running.Stop();
}

TEST(InstanceGuard, NextStartRunsAsTheFirstWhenTheBlockOutlivesTheRunningPanel) {
    // A later start still waiting (or showing its message) keeps the block open after the
    // running instance has ended, or crashed and left its handle there.
    for (const bool bEndedWell : {true, false}) {
        const std::wstring strName = TestBlockName() + std::to_wstring(bEndedWell);
        const COwnedHandle lingering(::CreateFileMappingW(
            INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kHandOffBlockBytes, strName.c_str()));
        ASSERT_TRUE(lingering);
        {
            const CHiddenWindow gone(WC_DIALOG);
            if (bEndedWell) {
                CInstanceGuard running(strName);
                running.SetCommandLineFile(std::nullopt);
                ASSERT_TRUE(running.Start(gone.Get()));
                running.Stop();
            } else {
                const CMappedView view(
                    ::MapViewOfFile(lingering.Get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(uint32_t)));
                ASSERT_TRUE(view);
                const auto nHandle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(gone.Get()));
                std::memcpy(view.Get(), &nHandle, sizeof(nHandle));
            }
        }

        const CHiddenWindow nextPanel(WC_DIALOG);
        CInstanceGuard next(strName);
        next.SetCommandLineFile(std::nullopt);
        EXPECT_TRUE(next.Start(nextPanel.Get())) << "ended well: " << bEndedWell;
        EXPECT_TRUE(next.Watching());
        next.Register(nextPanel.Get());
        // It took the block over: the start after it hands its file to it.
        CInstanceGuard after(strName);
        after.SetCommandLineFile(L"C:\\after.trvk");
        ASSERT_FALSE(after.Start(nullptr));
        EXPECT_EQ(after.HandOver(), HandOverResult::Handed);
        ASSERT_TRUE(WaitForHandOffMessage(nextPanel.Get()));
        EXPECT_EQ(next.TakeHandedFile(), L"C:\\after.trvk");
        next.Stop();
    }
}

TEST(InstanceGuard, LaterStartSaysSoWhenTheRunningInstanceTakesNoFile) {
    // A live Tarvik panel whose instance has stopped taking files: an earlier path stays in the
    // slot. The later start neither overwrites it nor gives up silently.
    CScriptedPrompts prompts;
    const CPromptsOverride promptsOverride(prompts);
    const CHiddenWindow panel(WC_DIALOG);
    const std::wstring strName = TestBlockName();
    const COwnedHandle block(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                  kHandOffBlockBytes, strName.c_str()));
    const CMappedView view(
        ::MapViewOfFile(block.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kHandOffBlockBytes));
    ASSERT_TRUE(view);
    const auto nHandle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(panel.Get()));
    std::memcpy(view.Get(), &nHandle, sizeof(nHandle));
    const std::u16string strWaiting = u"C:\\earlier.trvk";
    std::memcpy(view.Get() + kHandOffSlotOffset, strWaiting.c_str(), (strWaiting.size() + 1) * 2);

    CInstanceGuard later(strName);
    later.SetCommandLineFile(L"C:\\mine.trvk");
    ASSERT_FALSE(later.Start(nullptr));
    EXPECT_EQ(later.HandOver(), HandOverResult::NotTaken);
    const HandOffSlotReading reading = ReadHandOffSlot(
        reinterpret_cast<const char16_t*>(view.Get() + kHandOffSlotOffset), kHandOffSlotUnits);
    EXPECT_EQ(reading.strPath, strWaiting);
    ASSERT_EQ(prompts.m_calls.size(), 1u);
    std::wstring strShown = prompts.m_calls[0].strText;
    std::erase(strShown, L'\n');
    EXPECT_NE(strShown.find(L"C:\\mine.trvk"), std::wstring::npos);
}
