// In-process tests of the target views: the list view's painting and drop marker, the tile's
// picture and hover badge, remove and reorder through the tile's handlers, and the Target
// Editor against a fake panel.
#include "FrameworkTestUtil.h"
#include "SnipDlgTestUtil.h"
#include "capture/TargetEditDlg.h"
#include "capture/TargetListView.h"
#include "capture/TileGeometry.h"
#include "engine/BitmapHandle.h"
#include "engine/PictureSearch.h"
#include "engine/SyntheticInput.h"
#include "framework/GdiObject.h"
#include "tests/core/ModelTestUtil.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The panel as the views see it, recording what they ask of it.
class CFakePanel : public ITileHost, public ITargetEditorHost {
public:
    HWND MainWindow() const override { return m_hMain; }
    void UpdatePlayButton() override { ++m_nUpdatePlayButton; }
    std::optional<TargetHit> RecognizeTarget(const CTargetObj& target, HWND hEditor) override {
        m_recognized.push_back({&target, hEditor});
        return m_found;
    }
    std::optional<NearestMatch> FindNearestPlace(const CTargetObj& target, HWND hEditor) override {
        m_nearestAsked.push_back({&target, hEditor});
        return m_nearest;
    }
    int ShowSightForTest(int x, int y) override {
        m_sights.push_back({x, y});
        return 1;
    }

    HWND m_hMain = nullptr;
    std::optional<TargetHit> m_found;
    std::optional<NearestMatch> m_nearest;
    std::vector<std::pair<const CTargetObj*, HWND>> m_nearestAsked;
    int m_nUpdatePlayButton = 0;
    std::vector<std::pair<const CTargetObj*, HWND>> m_recognized;
    std::vector<Point> m_sights;
};

// A window's pixels as they are on the screen, read in one copy.
PixelBuffer ReadWindowPixels(HWND hWnd, int nWidth, int nHeight) {
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PixelBuffer pixels;
    const HDC hWindowDC = ::GetDC(hWnd);
    const HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    const HBITMAP hBitmap = ::CreateCompatibleBitmap(hWindowDC, nWidth, nHeight);
    const HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::BitBlt(hMemDC, 0, 0, nWidth, nHeight, hWindowDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ReadBitmapPixels(hBitmap, pixels);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);
    ::ReleaseDC(hWnd, hWindowDC);
    return pixels;
}

// A target of `nWidth` x `nHeight` whose area picture shows it in the middle.
std::unique_ptr<CTargetObj> MakeCentredTarget(int nWidth, int nHeight, uint32_t seed) {
    auto pTarget = MakeTarget(u"Centred", nWidth, nHeight, seed);
    PixelBuffer area = RandomPicture(100, 100, seed + 1);
    const PixelBuffer& picture = *pTarget->m_bmpTarget.Pixels();
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            area.Set(50 - nWidth / 2 + x, 50 - nHeight / 2 + y, picture.At(x, y));
        }
    }
    pTarget->m_bmpArea = CPicture(std::move(area));
    return pTarget;
}

// Pixel (x, y) of the 102 x 64 tile of a 20 x 10 target from MakeCentredTarget: the frame, the
// target at (41, 28), its highlighted ring and the plain surroundings.
uint32_t CentredTilePixel(int x, int y, const TargetThumbnails& thumbs,
                          const PixelBuffer& picture) {
    const auto isBorder = [x, y](int n) { return x == n || y == n || x == 101 - n || y == 63 - n; };
    if (isBorder(0)) {
        return MakeBgr0(53, 73, 106);
    }
    if (isBorder(1)) {
        return MakeBgr0(255, 255, 255);
    }
    if (x >= 41 && x < 61 && y >= 28 && y < 38) {
        return picture.At(x - 41, y - 28);
    }
    if (x >= 40 && x < 62 && y >= 27 && y < 39) {
        return thumbs.highlighted.At(x - 1, y + 17);
    }
    return thumbs.plain.At(x - 1, y + 17);
}

// The badge picture, bitmap 139.
PixelBuffer LoadBadgePixels() {
    PixelBuffer badge;
    const CGdiObject<HBITMAP> hBadge(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TILE_MENU), IMAGE_BITMAP, 0,
                     0, LR_CREATEDIBSECTION)));
    ReadBitmapPixels(hBadge.Get(), badge);
    return badge;
}

// The top-left of `wnd` in the client coordinates of `parent`.
POINT PlaceIn(const CWnd& parent, const CWnd& wnd) {
    const RECT rc = wnd.GetWindowRect();
    return parent.ScreenToClient(POINT{rc.left, rc.top});
}

// A list view 123 x 300 in a top-level window of its own, with a fake panel.
class TargetListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hMain = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"",
                                    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 140, 420,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_hMain, nullptr);
        m_panel.m_hMain = m_hMain;
        m_view.SetHosts(m_panel, m_panel);
        ASSERT_TRUE(m_view.CreateListView(RECT{3, 3, 3 + 123, 3 + 300}, m_hMain));
        PumpPendingMessages();
    }
    void TearDown() override {
        m_view.DestroyWindow();
        ::DestroyWindow(m_hMain);
        PumpPendingMessages();
    }
    int ScreenYOfColumn(int nColumnY) const {
        return m_view.ClientToScreen(POINT{0, nColumnY + m_view.m_nScrollPos}).y;
    }

    HWND m_hMain = nullptr;
    CFakePanel m_panel;
    CTargetListView m_view;
};

TEST_F(TargetListViewTest, ScrollsItsOwnColumnWithinTheVisibleHeight) {
    for (int k = 0; k < 5; ++k) {
        ASSERT_TRUE(m_view.AddTarget(MakeTarget(u"T", 8, 6, static_cast<uint32_t>(k))));
    }
    // 356 pixels of content in 200 visible: the last page starts at -156.
    m_view.SetVisibleHeight(200);
    struct Step {
        int nWheelDelta;
        int nScrollPos;
    };
    const Step steps[] = {{-120, -30}, {-480, -150}, {-120, -156}, {60, -141}, {1200, 0}};
    for (const Step& step : steps) {
        m_view.ScrollByWheel(step.nWheelDelta);
        EXPECT_EQ(m_view.ScrollPos(), step.nScrollPos) << step.nWheelDelta;
        const RECT rcLast = m_view.TileAt(4)->GetWindowRect();
        EXPECT_EQ(m_view.ScreenToClient(POINT{rcLast.left, rcLast.top}).y, 286 + step.nScrollPos)
            << step.nWheelDelta;
    }
    // Far past the end stops at the last page; a taller view brings the column back to the top.
    m_view.ScrollBy(-100000);
    EXPECT_EQ(m_view.ScrollPos(), -156);
    m_view.SetVisibleHeight(400);
    m_view.RelayoutTiles();
    EXPECT_EQ(m_view.ScrollPos(), 0);
}

TEST_F(TargetListViewTest, PaintsColumnTrackThumbAndTheDropMarkerInItsGap) {
    for (int k = 0; k < 5; ++k) {
        ASSERT_TRUE(m_view.AddTarget(MakeTarget(u"T", 8, 6, static_cast<uint32_t>(k))));
    }
    // Added at the end of the order, each tile at its unscrolled place.
    EXPECT_EQ(m_view.m_nContentHeight, 356);
    CTargetObj* pLast = m_view.m_pTargetList->FindByOrder(4);
    ASSERT_NE(pLast, nullptr);
    ASSERT_NE(m_view.TileOf(*pLast), nullptr);
    EXPECT_EQ(m_view
                  .ScreenToClient(POINT{m_view.TileOf(*pLast)->GetWindowRect().left,
                                        m_view.TileOf(*pLast)->GetWindowRect().top})
                  .y,
              286);

    m_view.m_nScrollPos = -55;
    m_view.Invalidate(false);
    PixelBuffer pixels = ReadWindowPixels(m_view.GetSafeHwnd(), 123, 300);
    ASSERT_EQ(pixels.Width(), 123);
    const uint32_t kEdge = MakeBgr0(204, 204, 204);
    EXPECT_EQ(pixels.At(0, 150), kEdge);
    EXPECT_EQ(pixels.At(110, 150), MakeBgr0(245, 245, 245));
    EXPECT_EQ(pixels.At(113, 150), kEdge);
    EXPECT_EQ(pixels.At(122, 150), kEdge);
    EXPECT_EQ(pixels.At(117, 45), MakeBgr0(236, 236, 236));
    for (int y : {46, 299}) {
        EXPECT_EQ(pixels.At(117, y), MakeBgr0(201, 201, 201)) << y;
    }
    for (int y : {47, 150, 298}) {
        EXPECT_EQ(pixels.At(117, y), MakeBgr0(149, 149, 149)) << y;
    }

    // Pointing at the upper half of the tile of order 2: the marker in the gap above it.
    m_view.DragOver(pLast, ScreenYOfColumn(6 + 140 + 20));
    EXPECT_TRUE(m_view.m_bDropMarker);
    EXPECT_EQ(m_view.m_nDropSlot, 2);
    EXPECT_EQ(m_view.m_pDragTarget, pLast);
    EXPECT_EQ(m_view.m_nDropMarkerY, -55 + 140 + 3);
    pixels = ReadWindowPixels(m_view.GetSafeHwnd(), 123, 300);
    EXPECT_EQ(pixels.At(110, 87), 0u);
    EXPECT_EQ(pixels.At(110, 88), 0u);
    EXPECT_EQ(pixels.At(110, 86), MakeBgr0(245, 245, 245));
    EXPECT_EQ(pixels.At(110, 89), MakeBgr0(245, 245, 245));

    // Moving to the lower half of the tile of order 3 repaints only the old and the new strip.
    ::ValidateRect(m_view.GetSafeHwnd(), nullptr);
    m_view.DragOver(pLast, ScreenYOfColumn(6 + 210 + 40));
    EXPECT_EQ(m_view.m_nDropSlot, 4);
    const CGdiObject<HRGN> update(::CreateRectRgn(0, 0, 0, 0));
    ::GetUpdateRgn(m_view.GetSafeHwnd(), update.Get(), FALSE);
    for (int y : {85, 90, 225, 230}) {
        EXPECT_TRUE(::PtInRegion(update.Get(), 50, y)) << y;
    }
    for (int y : {84, 91, 150, 224, 231}) {
        EXPECT_FALSE(::PtInRegion(update.Get(), 50, y)) << y;
    }
    // Far above and far below clamp to the ends.
    EXPECT_EQ(m_view.SlotFromScreenY(ScreenYOfColumn(-400)), 0);
    EXPECT_EQ(m_view.SlotFromScreenY(ScreenYOfColumn(4000)), 5);

    m_view.HideDropMarker();
    EXPECT_FALSE(m_view.m_bDropMarker);
    pixels = ReadWindowPixels(m_view.GetSafeHwnd(), 123, 300);
    EXPECT_EQ(pixels.At(110, 227), MakeBgr0(245, 245, 245));
    EXPECT_EQ(pixels.At(110, 88), MakeBgr0(245, 245, 245));

    // When every tile fits there is no thumb.
    m_view.m_nScrollPos = 0;
    m_view.m_nContentHeight = 286;
    m_view.Invalidate(false);
    pixels = ReadWindowPixels(m_view.GetSafeHwnd(), 123, 300);
    EXPECT_EQ(pixels.At(117, 10), MakeBgr0(236, 236, 236));
    EXPECT_EQ(pixels.At(117, 150), MakeBgr0(236, 236, 236));
}

TEST_F(TargetListViewTest, TileShowsTheTargetPicturePixelByPixelAndTheBadgeWhileHovered) {
    ASSERT_TRUE(m_view.AddTarget(MakeCentredTarget(20, 10, 11)));
    CTargetObj& target = *m_view.m_pTargetList->FindByOrder(0);
    ASSERT_NE(m_view.TileOf(target), nullptr);
    const HWND hTile = m_view.TileOf(target)->GetSafeHwnd();
    const TargetThumbnails thumbs = MakeTargetThumbnails(*target.m_bmpArea.Pixels());
    const PixelBuffer& picture = *target.m_bmpTarget.Pixels();

    const PixelBuffer shown = ReadWindowPixels(hTile, 102, 64);
    ASSERT_EQ(shown.Width(), 102);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 102; ++x) {
            ASSERT_EQ(shown.At(x, y), CentredTilePixel(x, y, thumbs, picture))
                << "pixel " << x << "," << y;
        }
    }

    // Hovering draws the badge, bitmap 139, at (79, 5); leaving without a button takes it away.
    const PixelBuffer badge = LoadBadgePixels();
    ASSERT_EQ(badge.Width(), 16);
    ::SendMessageW(hTile, WM_MOUSEMOVE, 0, MAKELPARAM(50, 30));
    EXPECT_TRUE(m_view.TileOf(target)->IsHover());
    EXPECT_EQ(::GetCapture(), hTile);
    PixelBuffer hovered = ReadWindowPixels(hTile, 102, 64);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(hovered.At(79 + x, 5 + y), badge.At(x, y)) << x << "," << y;
        }
    }
    ::SendMessageW(hTile, WM_MOUSEMOVE, 0, MAKELPARAM(200, 30));
    EXPECT_FALSE(m_view.TileOf(target)->IsHover());
    EXPECT_NE(::GetCapture(), hTile);
    EXPECT_EQ(ReadWindowPixels(hTile, 102, 64), shown);
}

TEST_F(TargetListViewTest, AtTwiceTheDpiEveryPixelOfTheColumnAndTilesIsATwoByTwoBlock) {
    for (int k = 0; k < 5; ++k) {
        ASSERT_TRUE(m_view.AddTarget(MakeCentredTarget(20, 10, 11 + static_cast<uint32_t>(k))));
    }
    m_view.SetVisibleHeight(300);
    m_view.ScrollBy(-56);
    // As the panel does at 192 DPI: the view twice as wide, then the new scale.
    ::SetWindowPos(m_hMain, nullptr, 0, 0, 260, 420, SWP_NOMOVE | SWP_NOZORDER);
    m_view.SetWindowPos(nullptr, 0, 0, 246, 300, SWP_NOMOVE | SWP_NOZORDER);
    m_view.SetScale(CDpiScale(192));
    // The same part of the column stays in view: 56 pixels at 96 DPI are 112 now.
    EXPECT_EQ(m_view.ScrollPos(), -112);
    EXPECT_EQ(m_view.m_nContentHeight, 712);
    for (int k = 0; k < 5; ++k) {
        const CTargetMiniView* pTile = m_view.TileAt(k);
        ASSERT_NE(pTile, nullptr);
        const RECT rc = pTile->GetWindowRect();
        EXPECT_EQ(rc.right - rc.left, 204) << k;
        EXPECT_EQ(rc.bottom - rc.top, 128) << k;
        EXPECT_EQ(PlaceIn(m_view, *pTile).x, 12) << k;
        EXPECT_EQ(PlaceIn(m_view, *pTile).y, k * 140 + 12 - 112) << k;
    }

    // The tile of order 1, wholly in view: each pixel of its 96-DPI picture a 2 x 2 block.
    CTargetMiniView& tile = *m_view.TileAt(1);
    const CTargetObj& target = *tile.Target();
    const TargetThumbnails thumbs = MakeTargetThumbnails(*target.m_bmpArea.Pixels());
    const PixelBuffer shown = ReadWindowPixels(tile.GetSafeHwnd(), 204, 128);
    ASSERT_EQ(shown.Width(), 204);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 204; ++x) {
            ASSERT_EQ(shown.At(x, y),
                      CentredTilePixel(x / 2, y / 2, thumbs, *target.m_bmpTarget.Pixels()))
                << "pixel " << x << "," << y;
        }
    }
    // The badge at (158, 10), 32 x 32; it takes the pointer there and not beside it.
    const PixelBuffer badge = LoadBadgePixels();
    ::SendMessageW(tile.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 60));
    ASSERT_TRUE(tile.IsHover());
    const PixelBuffer hovered = ReadWindowPixels(tile.GetSafeHwnd(), 204, 128);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(hovered.At(158 + x, 10 + y), badge.At(x / 2, y / 2)) << x << "," << y;
        }
    }
    ::SendMessageW(tile.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 60));
    EXPECT_FALSE(tile.IsHover());

    // The column: 2-pixel edges, the 20-pixel track with its thumb (length 300 * 300 / 712 = 126
    // at 112 * 300 / 712 = 47, light edges two rows each).
    PixelBuffer pixels = ReadWindowPixels(m_view.GetSafeHwnd(), 246, 300);
    struct Probe {
        int x;
        int y;
        uint32_t bgr0;
    };
    const uint32_t kEdge = MakeBgr0(204, 204, 204);
    const Probe probes[] = {
        {0, 8, kEdge},
        {1, 8, kEdge},
        {2, 8, MakeBgr0(245, 245, 245)},
        {226, 8, kEdge},
        {227, 8, kEdge},
        {236, 46, MakeBgr0(236, 236, 236)},
        {236, 47, MakeBgr0(201, 201, 201)},
        {236, 48, MakeBgr0(201, 201, 201)},
        {236, 49, MakeBgr0(149, 149, 149)},
        {236, 174, MakeBgr0(149, 149, 149)},
        {236, 175, MakeBgr0(201, 201, 201)},
        {236, 177, MakeBgr0(236, 236, 236)},
        {244, 8, kEdge},
        {245, 8, kEdge},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(pixels.At(probe.x, probe.y), probe.bgr0) << probe.x << "," << probe.y;
    }

    // The drop marker above the tile of order 2: four black rows in the middle of the gap.
    m_view.DragOver(tile.Target(), ScreenYOfColumn(12 + 280 + 20));
    EXPECT_EQ(m_view.m_nDropSlot, 2);
    EXPECT_EQ(m_view.m_nDropMarkerY, -112 + 280 + 6);
    pixels = ReadWindowPixels(m_view.GetSafeHwnd(), 246, 300);
    // The gap runs from row 168 (the bottom of the tile of order 1) to 180.
    for (int y = 169; y < 180; ++y) {
        const uint32_t expected = y >= 172 && y < 176 ? 0u : MakeBgr0(245, 245, 245);
        EXPECT_EQ(pixels.At(100, y), expected) << y;
        EXPECT_EQ(pixels.At(220, y), expected) << y;
    }
    m_view.HideDropMarker();

    // Back at 96 DPI everything is as it was.
    m_view.SetScale(CDpiScale(96));
    EXPECT_EQ(m_view.ScrollPos(), -56);
    const RECT rc = m_view.TileAt(1)->GetWindowRect();
    EXPECT_EQ(rc.right - rc.left, 102);
    EXPECT_EQ(rc.bottom - rc.top, 64);
    EXPECT_EQ(PlaceIn(m_view, *m_view.TileAt(1)).y, 70 + 6 - 56);
}

TEST_F(TargetListViewTest, TileWithoutAreaPictureShowsTheTargetOnWhite) {
    auto pTarget = MakeTarget(u"No area", 20, 10, 5);
    pTarget->m_bmpArea = CPicture();
    ASSERT_TRUE(m_view.AddTarget(std::move(pTarget)));
    const CTargetObj& target = *m_view.m_pTargetList->FindByOrder(0);
    const PixelBuffer shown = ReadWindowPixels(m_view.TileOf(target)->GetSafeHwnd(), 102, 64);
    EXPECT_EQ(shown.At(0, 0), MakeBgr0(53, 73, 106));
    EXPECT_EQ(shown.At(10, 10), MakeBgr0(255, 255, 255));
    EXPECT_EQ(shown.At(40, 27), MakeBgr0(255, 255, 255));
    EXPECT_EQ(shown.At(41, 28), target.m_bmpTarget.Pixels()->At(0, 0));
}

// What the timer procedure of the next test does inside the editor's message loop.
struct CListReplacedMeanwhile {
    CTargetListView* pView = nullptr;
    CTargetObj* pTarget = nullptr;
    bool bReplaced = false;
    bool bRescued = false;
};
CListReplacedMeanwhile* g_pReplaced = nullptr;

void CALLBACK ReplaceListWhileEditorOpen(HWND, UINT, UINT_PTR uId, DWORD) {
    const HWND hEditor = ::FindWindowW(L"#32770", L"Target Editor");
    if (hEditor == nullptr || g_pReplaced->bReplaced) {
        return;
    }
    ::KillTimer(nullptr, uId);
    // As a handed-over Load does: every tile destroyed, every target deleted.
    g_pReplaced->pView->DestroyTile(*g_pReplaced->pTarget);
    g_pReplaced->pView->m_pTargetList->RemoveAll();
    g_pReplaced->bReplaced = true;
}

void CALLBACK RescueStuckEditor(HWND, UINT, UINT_PTR uId, DWORD) {
    ::KillTimer(nullptr, uId);
    if (const HWND hEditor = ::FindWindowW(L"#32770", L"Target Editor")) {
        g_pReplaced->bRescued = true;
        ::PostMessageW(hEditor, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST_F(TargetListViewTest, ListReplacedWhileTheEditorIsOpenEndsTheEditorWithoutTouchingTheTarget) {
    ASSERT_TRUE(m_view.AddTarget(MakeCentredTarget(20, 10, 31)));
    CTargetObj& target = *m_view.m_pTargetList->FindByOrder(0);
    CTargetMiniView* pTile = m_view.TileOf(target);
    CListReplacedMeanwhile replaced{&m_view, &target};
    g_pReplaced = &replaced;
    ::SetTimer(nullptr, 0, 50, ReplaceListWhileEditorOpen);
    ::SetTimer(nullptr, 0, 10000, RescueStuckEditor);
    pTile->RunBadgeCommand(ID_TILE_EDIT);
    EXPECT_TRUE(replaced.bReplaced);
    EXPECT_FALSE(replaced.bRescued) << "the editor stayed open for a target that was gone";
    EXPECT_EQ(m_panel.m_nUpdatePlayButton, 0);
    EXPECT_EQ(::FindWindowW(L"#32770", L"Target Editor"), nullptr);
    // The tile's object went after its editor had returned.
    PumpPendingMessages();
    EXPECT_EQ(::GetWindow(m_view.GetSafeHwnd(), GW_CHILD), nullptr);
    g_pReplaced = nullptr;
}

// The tooltip of the tile of order `nOrder`.
std::wstring TileTip(CSnipDlg& panel, int nOrder) {
    const CTargetObj* pTarget = panel.TargetList().FindByOrder(nOrder);
    if (pTarget == nullptr || panel.ListView().TileOf(*pTarget) == nullptr) {
        return L"(no tile)";
    }
    wchar_t szText[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = panel.ListView().GetSafeHwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(panel.ListView().TileOf(*pTarget)->GetSafeHwnd());
    tool.lpszText = szText;
    ::SendMessageW(panel.ListView().ToolTipWindow(), TTM_GETTEXTW, 256,
                   reinterpret_cast<LPARAM>(&tool));
    return szText;
}

// The tiles of the real panel: drag and remove through the tile's own handlers, and the tiles'
// tooltips following the orders and names.
TEST_F(SnipDlgTest, TileHandlersReorderByDragAndRemoveWithRenumbering) {
    WriteList(3, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    CTargetObjList& list = panel.TargetList();
    EXPECT_EQ(TileTip(panel, 0), L"1. Target 0");
    EXPECT_EQ(TileTip(panel, 2), L"3. Target 2");
    const auto orderOf = [&](const char16_t* pszName) {
        for (const auto& pTarget : list) {
            if (pTarget->m_strName == pszName) {
                return pTarget->m_nOrder;
            }
        }
        return -1;
    };
    const auto dragTile = [&](int nOrder, int nColumnY) {
        CTargetMiniView* pTile = panel.ListView().TileAt(nOrder);
        const HWND hTile = pTile->GetSafeHwnd();
        // The tile's client y of column y (the tile of order k starts at 6 + 70 k).
        const int y = nColumnY - (6 + 70 * nOrder);
        ::SendMessageW(hTile, WM_MOUSEMOVE, 0, MAKELPARAM(50, 30));
        ::SendMessageW(hTile, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, y));
        EXPECT_TRUE(panel.ListView().m_bDropMarker);
        ::SendMessageW(hTile, WM_LBUTTONUP, 0, MAKELPARAM(50, y));
        EXPECT_FALSE(panel.ListView().m_bDropMarker);
    };
    // The first of three dropped below the last.
    dragTile(0, 6 + 210 + 20);
    EXPECT_EQ(orderOf(u"Target 0"), 2);
    EXPECT_EQ(orderOf(u"Target 1"), 0);
    EXPECT_EQ(orderOf(u"Target 2"), 1);
    EXPECT_EQ(TileTip(panel, 0), L"1. Target 1");
    EXPECT_EQ(TileTip(panel, 2), L"3. Target 0");
    std::vector<RECT> tiles = TileRects();
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[2].top, 146);
    // Right in front of and right behind itself: nothing changes.
    // (The pointer leaves the tile of order 1, at 76 to 140, above and below it.)
    dragTile(1, 60);
    dragTile(1, 160);
    EXPECT_EQ(orderOf(u"Target 1"), 0);
    EXPECT_EQ(orderOf(u"Target 2"), 1);
    EXPECT_EQ(orderOf(u"Target 0"), 2);

    // Remove the target of order 1 from its tile's menu command.
    CTargetMiniView* pTile = panel.ListView().TileAt(1);
    const HWND hRemovedTile = pTile->GetSafeHwnd();
    pTile->RunBadgeCommand(ID_TILE_REMOVE);
    EXPECT_FALSE(::IsWindow(hRemovedTile));
    // The tiles left show their own targets at their new orders.
    for (int nSlot = 0; nSlot < 2; ++nSlot) {
        ASSERT_NE(panel.ListView().TileAt(nSlot), nullptr) << nSlot;
        EXPECT_EQ(panel.ListView().TileAt(nSlot)->Target(), list.FindByOrder(nSlot)) << nSlot;
    }
    EXPECT_EQ(panel.ListView().TileAt(2), nullptr);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(orderOf(u"Target 2"), -1);
    EXPECT_EQ(orderOf(u"Target 0"), 1);
    EXPECT_EQ(TileTip(panel, 1), L"2. Target 0");
    // A rename in the Target Editor ends with the panel laying the tiles out again.
    list.FindByOrder(1)->m_strName = u"Button OK";
    panel.ListView().MoveTiles();
    EXPECT_EQ(TileTip(panel, 1), L"2. Button OK");
    EXPECT_EQ(panel.ListView().m_nContentHeight, 146);
    EXPECT_TRUE(::IsWindowEnabled(panel.GetDlgItem(IDC_PLAY)));
    tiles = TileRects();
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[1].top, 76);
    PumpPendingMessages();

    // The last two go: Play is disabled and no tile is left.
    panel.ListView().TileAt(1)->RunBadgeCommand(ID_TILE_REMOVE);
    panel.ListView().TileAt(0)->RunBadgeCommand(ID_TILE_REMOVE);
    PumpPendingMessages();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(::IsWindowEnabled(panel.GetDlgItem(IDC_PLAY)));
    EXPECT_EQ(::GetWindow(panel.ListView().GetSafeHwnd(), GW_CHILD), nullptr);

    // A drag under way when a file command replaces the list ends with it: a release that comes
    // later reorders nothing.
    const std::filesystem::path three = Folder() / L"three.trvk";
    WriteList(3, three, 9);
    m_prompts.m_messageAnswers = {IDNO, IDNO};
    panel.LoadTargetList(three.wstring());
    const HWND hDragged = panel.ListView().TileAt(0)->GetSafeHwnd();
    ::SendMessageW(hDragged, WM_MOUSEMOVE, 0, MAKELPARAM(50, 30));
    ::SendMessageW(hDragged, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 220));
    ASSERT_TRUE(panel.ListView().m_bDropMarker);
    panel.LoadTargetList(three.wstring());
    EXPECT_FALSE(panel.ListView().m_bDropMarker);
    EXPECT_EQ(panel.ListView().m_pDragTarget, nullptr);
    CTargetObjList& reloaded = panel.TargetList();
    EXPECT_EQ(TileTip(panel, 1), L"2. Target 1");
    ::SendMessageW(panel.ListView().TileAt(0)->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 30));
    for (int k = 0; k < 3; ++k) {
        const std::string name = "Target " + std::to_string(k);
        EXPECT_EQ(reloaded.FindByOrder(k)->m_strName, std::u16string(name.begin(), name.end()));
    }
}

// Pumps until `done` holds or `nMs` milliseconds have passed; whether it holds.
template <class TDone>
bool PumpUntil(TDone done, DWORD nMs) {
    const ULONGLONG nDeadline = ::GetTickCount64() + nMs;
    while (!done() && ::GetTickCount64() < nDeadline) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpPendingMessages();
    }
    return done();
}

// The first item of the popup menu that opened, recorded and the menu closed (thread timer).
std::wstring g_strMenuSeen;
void CALLBACK RecordAndCloseMenu(HWND, UINT, UINT_PTR uId, DWORD) {
    const HWND hMenuWindow = ::FindWindowW(L"#32768", nullptr);
    if (hMenuWindow == nullptr || !::IsWindowVisible(hMenuWindow)) {
        return;
    }
    ::KillTimer(nullptr, uId);
    const auto hMenu = reinterpret_cast<HMENU>(::SendMessageW(hMenuWindow, MN_GETHMENU, 0, 0));
    wchar_t szItem[64] = {};
    ::GetMenuStringW(hMenu, 0, szItem, 64, MF_BYPOSITION);
    g_strMenuSeen = szItem;
    ::EndMenu();
}

TEST_F(SnipDlgTest, ATileScrolledUnderTheButtonsLeavesThemTheirClicks) {
    WriteList(12, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ASSERT_EQ(panel.ListView().ScrollPos(), -30);
    CTargetMiniView& tile = *panel.ListView().TileAt(0);
    // The tile's top 24 rows lie above the list view, its badge partly under the Help button.
    RECT rcHelp{};
    ::GetWindowRect(panel.GetDlgItem(IDC_HELP_MENU), &rcHelp);
    const POINT ptBadge = tile.ClientToScreen(POINT{kTileBadgeRect.left, kTileBadgeRect.top});
    const POINT ptClick{std::max(rcHelp.left, ptBadge.x) + 2, std::max(rcHelp.top, ptBadge.y) + 2};
    ASSERT_LT(ptClick.y, panel.ListView().ClientToScreen(POINT{0, 0}).y);
    ASSERT_LT(ptClick.y, rcHelp.bottom);

    // Hovered from its visible part, the tile holds the capture; moved on to the Help button, the
    // pointer leaves it.
    CSyntheticMouse mouse;
    const POINT ptShown = tile.ClientToScreen(POINT{50, 40});
    mouse.MoveTo(Point{ptShown.x, ptShown.y});
    ASSERT_TRUE(PumpUntil([&] { return tile.IsHover(); }, 5000));
    mouse.MoveTo(Point{ptClick.x, ptClick.y});
    PumpUntil([&] { return !tile.IsHover(); }, 2000);
    EXPECT_FALSE(tile.IsHover());
    EXPECT_NE(::GetCapture(), tile.GetSafeHwnd());

    // The click there opens the Help menu, not the tile's.
    g_strMenuSeen.clear();
    const UINT_PTR uTimer = ::SetTimer(nullptr, 0, 50, RecordAndCloseMenu);
    mouse.ButtonDown();
    mouse.ButtonUp();
    PumpUntil([] { return !g_strMenuSeen.empty(); }, 5000);
    ::KillTimer(nullptr, uTimer);
    EXPECT_EQ(g_strMenuSeen, L"&Help");
}

// The Target Editor, modeless here so that the test can drive it with messages.
class TargetEditDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFrameworkTestControls();
        m_pTarget = MakeCentredTarget(20, 10, 21);
        m_pTarget->m_strName = u"Save button";
        m_pTarget->m_ptClickShift = {12, -7};
    }
    std::wstring Text(int nId) const { return CWnd(m_pDlg->GetDlgItem(nId)).GetWindowText(); }
    void SetText(int nId, const wchar_t* pszText) const {
        ::SetWindowTextW(m_pDlg->GetDlgItem(nId), pszText);
    }
    void Open() {
        m_pDlg = std::make_unique<CTargetEditDlg>(*m_pTarget, m_panel);
        ASSERT_TRUE(m_pDlg->Create(nullptr));
        m_pDlg->ShowWindow(SW_SHOW);
    }

    CFakePanel m_panel;
    std::unique_ptr<CTargetObj> m_pTarget;
    std::unique_ptr<CTargetEditDlg> m_pDlg;
};

TEST_F(TargetEditDlgTest, ShowsTheTargetTestsWithTheTypedShiftAndOkStoresIt) {
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(Text(IDC_TARGET_NAME), L"Save button");
    EXPECT_EQ(Text(IDC_TARGET_SHIFT_X), L"12");
    EXPECT_EQ(Text(IDC_TARGET_SHIFT_Y), L"-7");
    for (int nSpin : {IDC_TARGET_SPIN_X, IDC_TARGET_SPIN_Y}) {
        int nMin = 0;
        int nMax = 0;
        ::SendMessageW(m_pDlg->GetDlgItem(nSpin), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nMin),
                       reinterpret_cast<LPARAM>(&nMax));
        EXPECT_EQ(nMin, -3000);
        EXPECT_EQ(nMax, 3000);
    }
    // The picture at (50, 16) is the tile's: the sharp target at (41, 28) of it.
    const PixelBuffer shown = ReadWindowPixels(m_pDlg->GetSafeHwnd(), 160, 90);
    EXPECT_EQ(shown.At(50, 16), MakeBgr0(53, 73, 106));
    EXPECT_EQ(shown.At(50 + 41, 16 + 28), m_pTarget->m_bmpTarget.Pixels()->At(0, 0));
    EXPECT_EQ(shown.At(50 + 60, 16 + 37), m_pTarget->m_bmpTarget.Pixels()->At(19, 9));
    {
        // At 192 DPI the picture is twice as large at twice the place, each pixel a block.
        const CDpiOverride dpi(192);
        m_pDlg->Invalidate(false);
        const PixelBuffer shown192 = ReadWindowPixels(m_pDlg->GetSafeHwnd(), 320, 170);
        EXPECT_EQ(shown192.At(101, 33), MakeBgr0(53, 73, 106));
        EXPECT_EQ(shown192.At(102, 34), MakeBgr0(255, 255, 255));
        for (const POINT pt : {POINT{182, 88}, POINT{183, 89}}) {
            EXPECT_EQ(shown192.At(pt.x, pt.y), m_pTarget->m_bmpTarget.Pixels()->At(0, 0));
        }
        EXPECT_EQ(shown192.At(221, 107), m_pTarget->m_bmpTarget.Pixels()->At(19, 9));
    }

    // Not found: no sight. Found: the sight at centre + the typed shift, the editor blacked out.
    SetText(IDC_TARGET_SHIFT_X, L"10");
    SetText(IDC_TARGET_SHIFT_Y, L"-5");
    EXPECT_EQ(Text(IDC_RECOGNIZE_STATUS), L"");
    m_pDlg->SendMessage(WM_COMMAND, IDC_RECOGNIZE_TEST);
    EXPECT_TRUE(m_panel.m_sights.empty());
    EXPECT_EQ(Text(IDC_RECOGNIZE_STATUS), L"Not on the screen");
    m_panel.m_nearest = NearestMatch{{41, 7}, 3, 200, 90};
    m_pDlg->SendMessage(WM_COMMAND, IDC_RECOGNIZE_TEST);
    EXPECT_EQ(Text(IDC_RECOGNIZE_STATUS),
              L"Not on the screen\r\nNearest place (41, 7): 3 of 200 pixels differ");
    ASSERT_EQ(m_panel.m_nearestAsked.size(), 2u);
    EXPECT_EQ(m_panel.m_nearestAsked[1].second, m_pDlg->GetSafeHwnd());
    // The 20 x 10 picture found at (290, 195) is centred on (300, 200); the hit carries the kept
    // shift, the line and the sight the typed one.
    m_panel.m_found = MakeTargetHit(*m_pTarget, Point{290, 195});
    m_pDlg->SendMessage(WM_COMMAND, IDC_RECOGNIZE_TEST);
    EXPECT_EQ(Text(IDC_RECOGNIZE_STATUS), L"Found at (290, 195), clicks at (310, 195)");
    EXPECT_EQ(m_panel.m_nearestAsked.size(), 2u);
    ASSERT_EQ(m_panel.m_recognized.size(), 3u);
    EXPECT_EQ(m_panel.m_recognized[2].first, m_pTarget.get());
    EXPECT_EQ(m_panel.m_recognized[2].second, m_pDlg->GetSafeHwnd());
    ASSERT_EQ(m_panel.m_sights.size(), 1u);
    EXPECT_EQ(m_panel.m_sights[0], (Point{310, 195}));
    // The test changes nothing in the target.
    EXPECT_EQ(m_pTarget->m_ptClickShift, (Point{12, -7}));
    // Found on a monitor left of and above the primary: desktop points, negative.
    m_panel.m_found = MakeTargetHit(*m_pTarget, Point{-1034, -305});
    m_pDlg->SendMessage(WM_COMMAND, IDC_RECOGNIZE_TEST);
    EXPECT_EQ(Text(IDC_RECOGNIZE_STATUS), L"Found at (-1034, -305), clicks at (-1014, -305)");
    EXPECT_EQ(m_panel.m_sights.back(), (Point{-1014, -305}));

    // The arrow key steps 999 to 1000 in plain digits.
    SetText(IDC_TARGET_SHIFT_X, L"999");
    ::SendMessageW(m_pDlg->GetDlgItem(IDC_TARGET_SPIN_X), UDM_SETPOS32, 0, 999);
    ::SendMessageW(m_pDlg->GetDlgItem(IDC_TARGET_SHIFT_X), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Text(IDC_TARGET_SHIFT_X), L"1000");
    SetText(IDC_TARGET_NAME, L"Open");
    SetText(IDC_TARGET_SHIFT_Y, L"");
    m_pDlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(m_pTarget->m_strName, u"Open");
    EXPECT_EQ(m_pTarget->m_ptClickShift, (Point{1000, 0}));
}

TEST_F(TargetEditDlgTest, ShiftFieldsTakeALeadingMinusTypedOrPastedAndNothingElse) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const HWND hShiftX = m_pDlg->GetDlgItem(IDC_TARGET_SHIFT_X);
    const auto type = [&](const wchar_t* pszKeys) {
        for (const wchar_t* p = pszKeys; *p != L'\0'; ++p) {
            ::SendMessageW(hShiftX, WM_CHAR, *p, 1);
        }
    };
    SetText(IDC_TARGET_SHIFT_X, L"");
    type(L"-1a6+");
    EXPECT_EQ(Text(IDC_TARGET_SHIFT_X), L"-16");
    // A second minus, or one behind the digits, is refused.
    ::SendMessageW(hShiftX, EM_SETSEL, 3, 3);
    type(L"-");
    ::SendMessageW(hShiftX, EM_SETSEL, 0, 0);
    type(L"-");
    EXPECT_EQ(Text(IDC_TARGET_SHIFT_X), L"-16");

    // Pasted over the whole field: the number without the blanks around it; text is refused.
    const auto paste = [&](const std::wstring& strClip) {
        ASSERT_TRUE(::OpenClipboard(m_pDlg->GetSafeHwnd()));
        ::EmptyClipboard();
        const size_t nBytes = (strClip.size() + 1) * sizeof(wchar_t);
        const HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
        std::memcpy(::GlobalLock(hData), strClip.c_str(), nBytes);
        ::GlobalUnlock(hData);
        ::SetClipboardData(CF_UNICODETEXT, hData);
        ::CloseClipboard();
        ::SendMessageW(hShiftX, EM_SETSEL, 0, -1);
        ::SendMessageW(hShiftX, WM_PASTE, 0, 0);
    };
    paste(L" -250\r\n");
    EXPECT_EQ(Text(IDC_TARGET_SHIFT_X), L"-250");
    paste(L"12px");
    EXPECT_EQ(Text(IDC_TARGET_SHIFT_X), L"-250");
    m_pDlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(m_pTarget->m_ptClickShift, (Point{-250, -7}));
}

TEST_F(TargetEditDlgTest, CancelStoresNothing) {
    ASSERT_NO_FATAL_FAILURE(Open());
    SetText(IDC_TARGET_NAME, L"Changed");
    SetText(IDC_TARGET_SHIFT_X, L"1500");
    m_pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(m_pTarget->m_strName, u"Save button");
    EXPECT_EQ(m_pTarget->m_ptClickShift, (Point{12, -7}));
    PumpPendingMessages();
}

}  // namespace
