// The main panel in-process: set-up, control places, start-up placement, view modes, tile
// layout and scrolling, and the close sequence.
#include "SnipDlgTestUtil.h"

#include "app/StartupSettings.h"
#include "engine/WindowDpi.h"
#include "ui/FlyWnd.h"

namespace {

RECT ChildRect(HWND hParent, int nId) {
    const HWND hChild = ::GetDlgItem(hParent, nId);
    RECT rc{};
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void ExpectRect(const RECT& rc, int x, int y, int cx, int cy) {
    EXPECT_EQ(rc.left, x);
    EXPECT_EQ(rc.top, y);
    EXPECT_EQ(rc.right - rc.left, cx);
    EXPECT_EQ(rc.bottom - rc.top, cy);
}

void Wheel(CSnipDlg& panel, int nDelta) {
    panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(nDelta))),
                      0);
}

}  // namespace

TEST_F(SnipDlgTest, FirstStartPlacesThePanelAndItsControls) {
    CSnipDlg& panel = OpenPanel();
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    ExpectRect(panel.GetWindowRect(), cxScreen / 2 - 65, cyScreen / 2 - 250, 130, 500);
    EXPECT_TRUE(panel.IsWindowVisible());
    const HWND hPanel = panel.GetSafeHwnd();
    EXPECT_NE(::GetWindowLongW(hPanel, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::GetWindowLongW(hPanel, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_EQ(panel.GetWindowText(), L"Tarvik");

    ExpectRect(ChildRect(hPanel, IDC_SELECT_TARGET), 5, 30, 60, 38);
    ExpectRect(ChildRect(hPanel, IDC_PLAY), 65, 30, 60, 38);
    ExpectRect(ChildRect(hPanel, IDC_FILE_MENU), 5, 70, 34, 24);
    ExpectRect(ChildRect(hPanel, IDC_EDIT), 48, 70, 34, 24);
    ExpectRect(ChildRect(hPanel, IDC_HELP_MENU), 91, 70, 34, 24);
    ExpectRect(ChildRect(hPanel, IDC_FLY_WINDOW), 86, 3, 20, 20);
    ExpectRect(ChildRect(hPanel, IDC_HIDE_PANEL), 105, 3, 20, 20);
    // The list view follows the client height.
    ExpectRect(ChildRect(hPanel, IDC_TARGET_LIST), 3, 103, 123, 500 - 113);

    // An empty list: Play disabled, showing its own "disabled" icon.
    const HWND hPlay = panel.GetDlgItem(IDC_PLAY);
    EXPECT_FALSE(::IsWindowEnabled(hPlay));
    EXPECT_NE(::SendMessageW(hPlay, BM_GETIMAGE, IMAGE_ICON, 0), 0);
    for (int nId : {IDC_DIAG_LABEL1, IDC_DIAG_LABEL2, IDC_DIAG_LABEL3}) {
        EXPECT_FALSE(::IsWindowVisible(panel.GetDlgItem(nId)));
    }
}

TEST_F(SnipDlgTest, StoredPlaceIsPulledBackOnScreen) {
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    struct {
        int nTop, nLeft, nHeight;
        int x, y, cy;
    } const cases[] = {
        {-40, -7, 600, 0, 0, 600},
        {cyScreen - 50, cxScreen - 20, 300, cxScreen - 130, cyScreen - 100, 300},
        {100, 200, 150, 200, 100, 200},
    };
    for (const auto& c : cases) {
        const CRegistryKey key = ScratchKey();
        key.WriteInt(L"MainTop", c.nTop);
        key.WriteInt(L"MainLeft", c.nLeft);
        key.WriteInt(L"MainHaight", c.nHeight);
        CSnipDlg& panel = OpenPanel();
        ExpectRect(panel.GetWindowRect(), c.x, c.y, 130, c.cy);
        // The fly window waits at the same corner, its own size kept.
        const RECT rcFly = panel.FlyWnd()->GetWindowRect();
        EXPECT_EQ(rcFly.left, c.x);
        EXPECT_EQ(rcFly.top, c.y);
        EXPECT_EQ(rcFly.right - rcFly.left, 40);
        ClosePanel();
    }
}

TEST_F(SnipDlgTest, ADisplayChangeBringsBackOnlyWindowsLeftOffTheWorkArea) {
    // With one monitor, a window where a removed monitor was lies off the only work area; the
    // expected places below hold for that layout only.
    if (::GetSystemMetrics(SM_CMONITORS) != 1) {
        GTEST_SKIP() << "needs a display with one monitor";
    }
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
    const RECT wa = info.rcWork;
    struct {
        const char* pszWhat;
        POINT ptPanel, ptFly;
        POINT ptPanelBack, ptFlyBack;
    } const cases[] = {
        {"left of and above", {-400, -300}, {-100, 50}, {wa.left, wa.top}, {wa.left, 50}},
        {"head over the right, fly below and right",
         {wa.right - 20, 100},
         {wa.right + 500, wa.bottom + 500},
         {wa.right - 130, 100},
         {wa.right - 40, wa.bottom - 40}},
        {"both on the work area", {100, 100}, {200, 220}, {100, 100}, {200, 220}},
    };
    CSnipDlg& panel = OpenPanel();
    CFlyWnd& fly = *panel.FlyWnd();
    const int nHeight = panel.GetWindowRect().bottom - panel.GetWindowRect().top;
    for (const auto& c : cases) {
        panel.SetWindowPos(nullptr, c.ptPanel.x, c.ptPanel.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        fly.SetWindowPos(nullptr, c.ptFly.x, c.ptFly.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        panel.SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(wa.right, wa.bottom));
        SCOPED_TRACE(c.pszWhat);
        ExpectRect(panel.GetWindowRect(), c.ptPanelBack.x, c.ptPanelBack.y, 130, nHeight);
        ExpectRect(fly.GetWindowRect(), c.ptFlyBack.x, c.ptFlyBack.y, 40, 40);
    }
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_FALSE(fly.IsWindowVisible()) << "bringing the fly window back must not show it";
}

TEST_F(SnipDlgTest, CloseWritesThePlaceWithTheHeight) {
    // Exit (WM_CLOSE), Esc and Enter: each ends Tarvik through the close sequence.
    const struct {
        const char* pszHow;
        WPARAM nKey;  // 0: WM_CLOSE
    } closers[] = {{"WM_CLOSE", 0}, {"Esc", VK_ESCAPE}, {"Enter", VK_RETURN}};
    for (const auto& closer : closers) {
        std::filesystem::remove(DefaultFile());
        CSnipDlg& panel = OpenPanel();
        panel.SetWindowPos(nullptr, 33, 44, 130, 321, SWP_NOZORDER);
        if (closer.nKey == 0) {
            ClosePanelNormally();
        } else {
            // The key as the run's message loop hands it to the dialog manager.
            MSG msg{panel.GetSafeHwnd(), WM_KEYDOWN, closer.nKey, 0, 0, {}};
            ::IsDialogMessageW(panel.GetSafeHwnd(), &msg);
            PumpPendingMessages();
        }
        EXPECT_EQ(panel.GetSafeHwnd(), nullptr) << closer.pszHow;
        const CStartupSettings stored = ReadStartupSettings(ScratchKey());
        EXPECT_EQ(stored.nMainLeft, 33) << closer.pszHow;
        EXPECT_EQ(stored.nMainTop, 44) << closer.pszHow;
        EXPECT_EQ(stored.nMainHeight, 321) << closer.pszHow;
        // The close sequence also wrote the (empty) default list.
        ASSERT_TRUE(std::filesystem::exists(DefaultFile())) << closer.pszHow;
        EXPECT_EQ(std::filesystem::file_size(DefaultFile()), 62u) << closer.pszHow;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    }
}

TEST_F(SnipDlgTest, StartupViewModes) {
    struct {
        int nStored;
        bool bPanelVisible;
        bool bFlyVisible;
    } const cases[] = {{1, false, true}, {2, false, false}, {5, true, false}, {0, true, false}};
    for (const auto& c : cases) {
        ScratchKey().WriteInt(L"StartupViewMode", c.nStored);
        CSnipDlg& panel = OpenPanel();
        EXPECT_EQ(panel.IsWindowVisible(), c.bPanelVisible) << c.nStored;
        EXPECT_EQ(panel.FlyWnd()->IsWindowVisible(), c.bFlyVisible) << c.nStored;
        if (c.bFlyVisible) {
            const RECT rcPanel = panel.GetWindowRect();
            const RECT rcFly = panel.FlyWnd()->GetWindowRect();
            EXPECT_EQ(rcFly.left, rcPanel.left);
            EXPECT_EQ(rcFly.top, rcPanel.top);
        }
        ClosePanel();
    }
}

TEST_F(SnipDlgTest, OutsideCommonModeNothingShowsThePanel) {
    CSnipDlg& panel = OpenPanel();
    panel.SetViewMode(CSnipDlg::kViewTray);
    panel.ShowWindow(SW_HIDE);
    panel.ShowWindow(SW_SHOW);
    panel.ShowWindow(SW_RESTORE);
    EXPECT_FALSE(panel.IsWindowVisible());

    // "Show" in the tray menu switches back to Common first.
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TRAY_SHOW, 0), 0);
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(panel.ViewMode(), CSnipDlg::kViewCommon);

    // "X" hides the panel but keeps the mode, so a plain show brings it back.
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HIDE_PANEL, BN_CLICKED),
                      reinterpret_cast<LPARAM>(panel.GetDlgItem(IDC_HIDE_PANEL)));
    EXPECT_FALSE(panel.IsWindowVisible());
    panel.ShowWindow(SW_SHOW);
    EXPECT_TRUE(panel.IsWindowVisible());
}

TEST_F(SnipDlgTest, FlyWindowButtonAndDoubleClickSwapTheWindows) {
    CSnipDlg& panel = OpenPanel();
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FLY_WINDOW, BN_CLICKED),
                      reinterpret_cast<LPARAM>(panel.GetDlgItem(IDC_FLY_WINDOW)));
    EXPECT_EQ(panel.ViewMode(), CSnipDlg::kViewFlyWindow);
    EXPECT_FALSE(panel.IsWindowVisible());
    CFlyWnd& fly = *panel.FlyWnd();
    EXPECT_TRUE(fly.IsWindowVisible());

    // Moved while in fly mode, the panel comes back where the fly window is, height kept.
    const int nHeight = panel.GetWindowRect().bottom - panel.GetWindowRect().top;
    fly.SetWindowPos(HWND_TOP, 300, 222, 0, 0, SWP_NOSIZE);
    fly.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(panel.ViewMode(), CSnipDlg::kViewCommon);
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_FALSE(fly.IsWindowVisible());
    ExpectRect(panel.GetWindowRect(), 300, 222, 130, nHeight);
}

TEST_F(SnipDlgTest, DefaultListMakesTilesAndEnablesPlay) {
    WriteList(3, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    ASSERT_EQ(panel.TargetList().Count(), 3u);
    const std::vector<RECT> tiles = TileRects();
    ASSERT_EQ(tiles.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        ExpectRect(tiles[k], 6, 6 + 70 * k, 102, 64);
    }
    EXPECT_TRUE(::IsWindowEnabled(panel.GetDlgItem(IDC_PLAY)));

    // A short list stays at the top whatever the wheel does.
    Wheel(panel, -120 * 5);
    Wheel(panel, 120 * 3);
    EXPECT_EQ(TileRects()[0].top, 6);
    EXPECT_EQ(panel.ListView().ScrollPos(), 0);
}

TEST_F(SnipDlgTest, WheelScrollsThirtyPixelsPerNotchWithinTheEnds) {
    WriteList(20, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    // 20 tiles: 1406 pixels of content in 500 - 112 = 388 visible.
    const int nLowest = 388 - (20 * 70 + 6);
    Wheel(panel, -120);
    EXPECT_EQ(panel.ListView().ScrollPos(), -30);
    EXPECT_EQ(TileRects()[0].top, 6 - 30);
    EXPECT_EQ(TileRects()[19].top, 6 + 19 * 70 - 30);
    Wheel(panel, -240);
    EXPECT_EQ(panel.ListView().ScrollPos(), -90);
    Wheel(panel, 60);  // half a notch
    EXPECT_EQ(panel.ListView().ScrollPos(), -75);

    for (int i = 0; i < 60; ++i) {
        Wheel(panel, -120);
    }
    EXPECT_EQ(panel.ListView().ScrollPos(), nLowest);
    // The last tile's bottom sits exactly 6 pixels above the visible area's end.
    EXPECT_EQ(TileRects()[19].bottom, 388 - 6);

    for (int i = 0; i < 60; ++i) {
        Wheel(panel, 120);
    }
    EXPECT_EQ(panel.ListView().ScrollPos(), 0);
    EXPECT_EQ(TileRects()[0].top, 6);
}

TEST_F(SnipDlgTest, RemovalAndReorderRenumberTheSlots) {
    WriteList(4, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    CTargetObjList& list = panel.TargetList();
    // Take the target of slot 1 away, as its tile's "Remove" will.
    CTargetObj* pRemoved = list.FindByOrder(1);
    ASSERT_NE(pRemoved, nullptr);
    panel.ListView().DestroyTile(*pRemoved);
    const std::unique_ptr<CTargetObj> pGone = list.Remove(pRemoved);
    panel.ListView().RenumberAfterRemove(1);
    EXPECT_EQ(list.FindByOrder(1)->m_strName, u"Target 2");
    EXPECT_EQ(list.FindByOrder(3), nullptr);
    const std::vector<RECT> tiles = TileRects();
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[1].top, 76);
    EXPECT_EQ(tiles[2].top, 146);

    // Dropping a tile right in front of or right behind itself changes nothing.
    panel.ListView().ReorderTile(1, 1);
    panel.ListView().ReorderTile(1, 2);
    EXPECT_EQ(list.FindByOrder(1)->m_strName, u"Target 2");
    // Slot 0 dropped at the end.
    panel.ListView().ReorderTile(0, 3);
    panel.ListView().MoveTiles();
    EXPECT_EQ(list.FindByOrder(2)->m_strName, u"Target 0");
    EXPECT_EQ(list.FindByOrder(0)->m_strName, u"Target 2");
    EXPECT_EQ(panel.ListView().TileAt(2)->GetWindowRect().top -
                  panel.ListView().TileAt(0)->GetWindowRect().top,
              140);
    // Each tile still shows its own target after the moves.
    for (int nSlot = 0; nSlot < 3; ++nSlot) {
        ASSERT_NE(panel.ListView().TileAt(nSlot), nullptr) << nSlot;
        EXPECT_EQ(panel.ListView().TileAt(nSlot)->Target(), list.FindByOrder(nSlot)) << nSlot;
    }
    EXPECT_EQ(panel.ListView().TileAt(3), nullptr);
}

TEST_F(SnipDlgTest, PlayButtonFollowsTheList) {
    WriteList(2, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    const HWND hPlay = panel.GetDlgItem(IDC_PLAY);
    ASSERT_TRUE(::IsWindowEnabled(hPlay));
    const LRESULT hIdle = ::SendMessageW(hPlay, BM_GETIMAGE, IMAGE_ICON, 0);
    // Pressed as the button's click does: the mark toggles, then the command arrives.
    ::SendMessageW(hPlay, BM_SETCHECK, BST_CHECKED, 0);
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY, BN_CLICKED),
                      reinterpret_cast<LPARAM>(hPlay));
    const LRESULT hPlaying = ::SendMessageW(hPlay, BM_GETIMAGE, IMAGE_ICON, 0);
    EXPECT_NE(hPlaying, hIdle);

    m_prompts.m_messageAnswers = {IDNO};
    panel.NewTargetList();
    EXPECT_FALSE(::IsWindowEnabled(hPlay));
    const LRESULT hDisabled = ::SendMessageW(hPlay, BM_GETIMAGE, IMAGE_ICON, 0);
    EXPECT_NE(hDisabled, hIdle);
    EXPECT_NE(hDisabled, hPlaying);
}

TEST_F(SnipDlgTest, AutoPlayChecksPlayOnlyForOne) {
    WriteList(1, DefaultFile());
    for (int nStored : {1, 2}) {
        ScratchKey().WriteInt(L"AutoPlay", nStored);
        CSnipDlg& panel = OpenPanel();
        EXPECT_EQ(::SendMessageW(panel.GetDlgItem(IDC_PLAY), BM_GETCHECK, 0, 0),
                  nStored == 1 ? BST_CHECKED : BST_UNCHECKED);
        ClosePanel();
    }
}

namespace {

// The panel's pixels as they are on the screen: frame, separators and title included.
class CScreenPixels {
public:
    explicit CScreenPixels(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::GetDC(hWnd); }
    ~CScreenPixels() { ::ReleaseDC(m_hWnd, m_hDC); }
    CScreenPixels(const CScreenPixels&) = delete;
    CScreenPixels& operator=(const CScreenPixels&) = delete;
    COLORREF At(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

}  // namespace

TEST_F(SnipDlgTest, PaintsItsFrameSeparatorsAndTitle) {
    CSnipDlg& panel = OpenPanel();
    panel.SetWindowPos(nullptr, 0, 0, 130, 300, SWP_NOMOVE | SWP_NOZORDER);
    ::RedrawWindow(panel.GetSafeHwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const CScreenPixels pixels(panel.GetSafeHwnd());
    const int W = 130;
    const int H = 300;
    // Frame: light outer and inner edges top and left, dark ones right and bottom.
    EXPECT_EQ(pixels.At(50, 0), RGB(0xE3, 0xE3, 0xE3));
    EXPECT_EQ(pixels.At(0, 150), RGB(0xE3, 0xE3, 0xE3));
    EXPECT_EQ(pixels.At(50, 1), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(pixels.At(1, 150), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(pixels.At(W - 1, 150), RGB(0x69, 0x69, 0x69));
    EXPECT_EQ(pixels.At(50, H - 1), RGB(0x69, 0x69, 0x69));
    EXPECT_EQ(pixels.At(W - 2, 150), RGB(0xA0, 0xA0, 0xA0));
    EXPECT_EQ(pixels.At(50, H - 2), RGB(0xA0, 0xA0, 0xA0));
    // Separators, with their shadows, follow the height.
    for (int y : {25, 97, 102, H - 10, H - 6}) {
        EXPECT_EQ(pixels.At(3, y), RGB(0xCC, 0xCC, 0xCC)) << y;
    }
    for (int y : {26, H - 5}) {
        EXPECT_EQ(pixels.At(3, y), RGB(0xB9, 0xB9, 0xB9)) << y;
    }
    // LineTo leaves out the end point.
    EXPECT_NE(pixels.At(127, 25), RGB(0xCC, 0xCC, 0xCC));
    // The title darkens the background where its letters are and nowhere else.
    const COLORREF background = pixels.At(60, 28);
    int nDarker = 0;
    for (int y = 5; y < 5 + 18; ++y) {
        for (int x = 3; x < 3 + 78; ++x) {
            const COLORREF c = pixels.At(x, y);
            EXPECT_LE(GetRValue(c), GetRValue(background));
            nDarker += GetRValue(c) < GetRValue(background) ? 1 : 0;
        }
    }
    EXPECT_GT(nDarker, 78 * 18 / 10);
    EXPECT_EQ(pixels.At(82, 12), background);
}

namespace {

// The window's on-screen pixels, row by row.
std::vector<COLORREF> ScreenPixelsOf(HWND hWnd) {
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    const CScreenPixels pixels(hWnd);
    std::vector<COLORREF> result;
    for (int y = 0; y < rc.bottom; ++y) {
        for (int x = 0; x < rc.right; ++x) {
            result.push_back(pixels.At(x, y));
        }
    }
    return result;
}

}  // namespace

TEST_F(SnipDlgTest, ScrolledTilesLookAsIfFreshlyPainted) {
    WriteList(20, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    const HWND hList = panel.ListView().GetSafeHwnd();
    for (int nDelta : {-120, -120, -360, -120 * 40, 120, 240}) {
        Wheel(panel, nDelta);
        PumpPendingMessages();
        const std::vector<COLORREF> scrolled = ScreenPixelsOf(hList);
        ::RedrawWindow(panel.GetSafeHwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(ScreenPixelsOf(hList) == scrolled) << "after a wheel delta of " << nDelta;
    }
}

namespace {

// The width of the icon a button shows; 0 without one.
int ButtonIconWidth(HWND hButton) {
    const auto hIcon = reinterpret_cast<HICON>(::SendMessageW(hButton, BM_GETIMAGE, IMAGE_ICON, 0));
    ICONINFO info{};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    ::GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) {
        ::DeleteObject(info.hbmColor);
    }
    return bitmap.bmWidth;
}

// Every button and the list view where `scale` puts them, each button's icon at `scale` and
// inside its button; the tile column and the fly window know the scale.
void ExpectPanelLaidOutAt(CSnipDlg& panel, const CDpiScale& scale) {
    SCOPED_TRACE(scale.Dpi());
    const struct {
        int nId;
        Rect rc;  // at 96 DPI
        int nIconSize;
    } buttons[] = {
        {IDC_SELECT_TARGET, {5, 30, 65, 68}, 16}, {IDC_PLAY, {65, 30, 125, 68}, 24},
        {IDC_FILE_MENU, {5, 70, 39, 94}, 16},     {IDC_EDIT, {48, 70, 82, 94}, 16},
        {IDC_HELP_MENU, {91, 70, 125, 94}, 16},   {IDC_FLY_WINDOW, {86, 3, 106, 23}, 12},
        {IDC_HIDE_PANEL, {105, 3, 125, 23}, 12},
    };
    const HWND hPanel = panel.GetSafeHwnd();
    for (const auto& button : buttons) {
        const Rect rc = scale.Scale(button.rc);
        const RECT rcChild = ChildRect(hPanel, button.nId);
        ExpectRect(rcChild, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        const int nIcon = ButtonIconWidth(panel.GetDlgItem(button.nId));
        EXPECT_EQ(nIcon, scale.Scale(button.nIconSize)) << button.nId;
        EXPECT_LE(nIcon, std::min(rc.right - rc.left, rc.bottom - rc.top)) << button.nId;
    }
    const int nClientHeight = panel.GetClientRect().bottom;
    EXPECT_EQ(panel.GetClientRect().right, scale.Scale(130));
    ExpectRect(ChildRect(hPanel, IDC_TARGET_LIST), scale.Scale(3), scale.Scale(103),
               scale.Scale(123), nClientHeight - scale.Scale(113));
    EXPECT_EQ(panel.Scale(), scale);
    EXPECT_EQ(panel.ListView().Scale(), scale);
}

}  // namespace

TEST_F(SnipDlgTest, LaysItselfOutAtItsWindowsDpi) {
    for (const int nDpi : {96, 120, 144, 192}) {
        const CDpiOverride dpi(nDpi);
        const CDpiScale scale(nDpi);
        CSnipDlg& panel = OpenPanel();
        const RECT rc = panel.GetWindowRect();
        EXPECT_EQ(rc.right - rc.left, scale.Scale(130)) << nDpi;
        EXPECT_EQ(rc.bottom - rc.top, scale.Scale(500)) << nDpi;
        ExpectPanelLaidOutAt(panel, scale);
        const RECT rcFly = panel.FlyWnd()->GetWindowRect();
        EXPECT_EQ(rcFly.right - rcFly.left, scale.Scale(40)) << nDpi;
        ClosePanelNormally();
        // The stored height is the window's height in real pixels.
        EXPECT_EQ(ReadStartupSettings(ScratchKey()).nMainHeight, scale.Scale(500)) << nDpi;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    }
}

TEST_F(SnipDlgTest, ADpiChangeTakesTheSuggestedPlaceAndLaysOutAgain) {
    CSnipDlg& panel = OpenPanel();
    const HWND hPanel = panel.GetSafeHwnd();
    const struct {
        int nDpi;
        RECT rcSuggested;
    } changes[] = {
        {192, {100, 50, 360, 1050}},
        {144, {40, 60, 235, 810}},
        // And back: exactly the 96-DPI panel again.
        {96, {100, 50, 230, 550}},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.nDpi);
        ::SendMessageW(hPanel, WM_DPICHANGED, MAKEWPARAM(change.nDpi, change.nDpi),
                       reinterpret_cast<LPARAM>(&change.rcSuggested));
        const RECT& rc = change.rcSuggested;
        ExpectRect(panel.GetWindowRect(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        ExpectPanelLaidOutAt(panel, CDpiScale(change.nDpi));
        // The skin follows: the separator under the title is one 96-DPI pixel thick.
        ::RedrawWindow(hPanel, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const CDpiScale scale(change.nDpi);
        const CScreenPixels pixels(hPanel);
        for (int y = scale.Scale(25); y < scale.Scale(26); ++y) {
            EXPECT_EQ(pixels.At(scale.Scale(3), y), RGB(0xCC, 0xCC, 0xCC)) << y;
        }
        EXPECT_EQ(pixels.At(scale.Scale(3), scale.Scale(26)), RGB(0xB9, 0xB9, 0xB9));
    }

    CFlyWnd& fly = *panel.FlyWnd();
    const RECT rcFly{10, 20, 70, 80};
    fly.SendMessage(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&rcFly));
    ExpectRect(fly.GetWindowRect(), 10, 20, 60, 60);
    EXPECT_EQ(fly.Scale(), CDpiScale(144));
}
