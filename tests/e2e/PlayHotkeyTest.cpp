// The Play/Pause hotkey end to end: real keys start and stop play while the pointer stays
// where it is, a hotkey changed in the settings dialog takes over, and one that another program
// holds is reported there.
#include "tests/e2e/PlayTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/SettingsDialogSteps.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/TarvikWindows.h"
#include "tests/e2e/Waiting.h"

#include <commctrl.h>

namespace {

const PlayTarget kTarget{u"Hotkey target", 303, 32, 20, {60, 880}, {0, 0}, {}};
// Three play ticks: time enough for a click that is still to come.
constexpr DWORD kThreeTicksMs = 1500;
constexpr DWORD kPressAgainMs = 4000;

void PressCtrlShift(WORD nKey) {
    CKeyHeld control(VK_CONTROL);
    CKeyHeld shift(VK_SHIFT);
    TapKey(nKey);
}

}  // namespace

class PlayHotkey : public CPlayTest {
protected:
    bool PlayChecked() const {
        return SendMessageW(Control(kIdPlay), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // Presses the hotkey and waits until Play shows `bPlaying`; pressed again, as a person
    // would, when nothing happened within a few seconds (on a loaded machine Wine has been
    // seen to lose the chord). Use with ASSERT_NO_FATAL_FAILURE.
    void PressHotkeyUntil(WORD nKey, bool bPlaying) {
        bool bShown = false;
        for (int nPress = 0; nPress < 3 && !bShown; ++nPress) {
            PressCtrlShift(nKey);
            bShown = WaitUntil([&] { return PlayChecked() == bPlaying; }, kPressAgainMs);
        }
        ASSERT_TRUE(bShown) << "Play did not turn " << (bPlaying ? "on" : "off")
                            << " with Ctrl+Shift+key " << nKey << ", pressed three times";
    }
    // After play was stopped: every press released, and no click in the next ticks.
    void ExpectNoClickFollows() {
        // A click under way is ended at once, its button released if it was down.
        EXPECT_TRUE(WaitUntil([&] { return ButtonEvents().size() % 2 == 0; }))
            << "a press was left without its release";
        const std::vector<BoardEvent> before = ButtonEvents();
        Sleep(kThreeTicksMs);
        EXPECT_EQ(ButtonEvents().size(), before.size()) << "a click came after play stopped";
    }
    HWND OpenSettings() {
        EXPECT_TRUE(ClickAt(CentreOf(ScreenRectOf(Control(kIdEdit)))));
        return WaitForDialog(kSettingsCaption);
    }
};

TEST_F(PlayHotkey, StartsAndStopsPlayAndAChangedOrTakenHotkeyIsHonouredAndReported) {
    ASSERT_NO_FATAL_FAILURE(StartScene({kTarget}));
    const Point ptClick = ClickPointOf(kTarget);

    // The default Ctrl+Shift+F8, the pointer away from the panel and the target.
    ASSERT_NO_FATAL_FAILURE(PressHotkeyUntil(VK_F8, true));
    ASSERT_TRUE(WaitForClicks(1)) << "the board received no click after the hotkey";
    EXPECT_TRUE(AllClicksAt(ptClick));
    ASSERT_NO_FATAL_FAILURE(PressHotkeyUntil(VK_F8, false));
    ExpectNoClickFollows();
    Scene("stopped-by-hotkey");

    // Ctrl+Shift+F11 chosen in the dialog, then taken by another program before OK: Tarvik
    // cannot register it and the dialog says so when it opens again.
    HWND hDialog = OpenSettings();
    ASSERT_NE(hDialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(hDialog, kIdSettingsHotkeyStatus)), L"");
    ASSERT_NO_FATAL_FAILURE(EnterCtrlShiftHotkey(hDialog, VK_F11));
    const CHotkeyHeld taken(MOD_CONTROL | MOD_SHIFT, VK_F11);
    ASSERT_TRUE(taken.Held());
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hDialog, IDOK));
    EXPECT_EQ(ReadSetting(L"PlayHotkey"), 0x037A);
    hDialog = OpenSettings();
    ASSERT_NE(hDialog, nullptr);
    EXPECT_EQ(HotkeyOf(hDialog), 0x037Au);
    EXPECT_NE(TextOf(GetDlgItem(hDialog, kIdSettingsHotkeyStatus)), L"")
        << "a hotkey held by another program is not reported";
    Scene("hotkey-taken");

    // Ctrl+Shift+F9 instead: free, so the report goes, and after OK it is Play's hotkey.
    ASSERT_NO_FATAL_FAILURE(EnterCtrlShiftHotkey(hDialog, VK_F9));
    EXPECT_TRUE(
        WaitUntil([&] { return TextOf(GetDlgItem(hDialog, kIdSettingsHotkeyStatus)).empty(); }));
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hDialog, IDOK));
    EXPECT_EQ(ReadSetting(L"PlayHotkey"), 0x0378);
    ASSERT_TRUE(MovePointer({8, 1000}));
    const size_t nClicksBefore = ButtonEvents().size() / 2;
    // The old hotkey no longer toggles Play: had it started play, F9 would stop it again and no
    // click would come.
    PressCtrlShift(VK_F8);
    ASSERT_NO_FATAL_FAILURE(PressHotkeyUntil(VK_F9, true));
    ASSERT_TRUE(WaitForClicks(nClicksBefore + 1)) << "no click after the changed hotkey";
    EXPECT_TRUE(PlayChecked());
    EXPECT_TRUE(AllClicksAt(ptClick));
    ASSERT_NO_FATAL_FAILURE(PressHotkeyUntil(VK_F9, false));
    ExpectNoClickFollows();
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}
