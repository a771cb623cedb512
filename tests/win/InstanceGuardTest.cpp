// The real single-instance guard in-process: two guards on a test block play the running
// instance and a later start.
#include "FrameworkTestUtil.h"
#include "app/HandOffSlot.h"
#include "app/InstanceGuard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

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
        EXPECT_FALSE(later.Start(nullptr));
        // This test program counts as Tarvik here: its dialog is restored, the plain window not.
        EXPECT_EQ(::IsWindowVisible(hRunning) != FALSE, hRunning == dialog.Get());
        running.Stop();
    }
}

TEST(InstanceGuard, FilesOfQuickLaterStartsArriveWholeAbsoluteAndInOrder) {
    CScriptedPrompts prompts;
    const CPromptsOverride promptsOverride(prompts);
    const CHiddenWindow panel(L"STATIC");
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
