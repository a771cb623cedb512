// The panel's capture flow in-process: Metro mode's two Windows-key + Tab sequences, and an
// overlay ended by Enter before any selection counting as a cancel.
#include "KeyRecorder.h"
#include "SnipDlgTestUtil.h"

#include "app/StartupSettings.h"

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A visible window of thread `nThreadId` covering the virtual screen: the overlay.
bool OverlayShown(DWORD nThreadId) {
    std::pair<bool, RECT> search{false, VirtualScreenRect()};
    ::EnumThreadWindows(
        nThreadId,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<std::pair<bool, RECT>*>(lParam);
            RECT rc{};
            ::GetWindowRect(hWnd, &rc);
            if (::IsWindowVisible(hWnd) && ::EqualRect(&rc, &pSearch->second)) {
                pSearch->first = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.first;
}

}  // namespace

TEST_F(SnipDlgTest, MetroCaptureSendsWindowsTabTwiceAndEnterAddsNoTarget) {
    WriteList(2, DefaultFile());
    ScratchKey().WriteInt(kMetroModeValue, 1);
    CSnipDlg& panel = OpenPanel();
    ASSERT_EQ(panel.TargetList().Count(), 2u);
    ::SendMessageW(panel.GetDlgItem(IDC_PLAY), BM_SETCHECK, BST_CHECKED, 0);
    std::filesystem::remove(DefaultFile());

    CKeyRecorder keys;
    ASSERT_TRUE(keys.IsRecording());
    const DWORD nThreadId = ::GetCurrentThreadId();
    std::atomic<bool> bShown = false;
    std::atomic<bool> bPanelHidden = false;
    std::atomic<bool> bDone = false;
    std::thread driver([&] {
        const ULONGLONG nDeadline = ::GetTickCount64() + 20000;
        while (!(bShown = OverlayShown(nThreadId)) && ::GetTickCount64() < nDeadline) {
            ::Sleep(10);
        }
        bPanelHidden = !::IsWindowVisible(panel.GetSafeHwnd());
        // Past the overlay's own switch 150 ms after it showed.
        ::Sleep(600);
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_RETURN;
        ::SendInput(1, &input, sizeof(input));
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(1, &input, sizeof(input));
        // An overlay that ignored Enter must still end, with Esc, for the test to fail.
        const ULONGLONG nEnterDeadline = ::GetTickCount64() + 5000;
        while (OverlayShown(nThreadId) && ::GetTickCount64() < nEnterDeadline) {
            ::Sleep(10);
        }
        if (OverlayShown(nThreadId)) {
            input.ki.wVk = VK_ESCAPE;
            input.ki.dwFlags = 0;
            ::SendInput(1, &input, sizeof(input));
        }
        bDone = true;
    });
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SELECT_TARGET, BN_CLICKED),
                      reinterpret_cast<LPARAM>(panel.GetDlgItem(IDC_SELECT_TARGET)));
    // The hook runs on this thread: the driver's last key waits for it to pump.
    const ULONGLONG nDeadline = ::GetTickCount64() + 30000;
    while (!bDone && ::GetTickCount64() < nDeadline) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpPendingMessages();
    }
    driver.join();
    keys.Stop();

    EXPECT_TRUE(bShown);
    EXPECT_TRUE(bPanelHidden);
    const std::vector<KeyEvent> expected{
        {VK_LWIN, true}, {VK_TAB, true},  {VK_TAB, false},  {VK_LWIN, false},  {VK_LWIN, true},
        {VK_TAB, true},  {VK_TAB, false}, {VK_LWIN, false}, {VK_RETURN, true}, {VK_RETURN, false}};
    EXPECT_EQ(keys.Keys(), expected);
    // Enter ended the overlay with IDOK but without a selection: nothing is added.
    EXPECT_EQ(panel.TargetList().Count(), 2u);
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(::SendMessageW(panel.GetDlgItem(IDC_PLAY), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    const std::unique_ptr<CTargetObjList> pSaved = LoadTargetListFile(DefaultFile());
    EXPECT_EQ(pSaved->Count(), 2u) << "the default file was not written after the capture";
}
