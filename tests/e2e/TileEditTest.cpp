// The tiles end to end: the hover badge and its menu (Edit, Remove), dragging a tile to reorder
// the targets with the drop marker on screen, and the Target Editor with its recognition test.
#include "engine/BitmapHandle.h"
#include "engine/PictureSearch.h"
#include "framework/GdiObject.h"
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/PlayTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/TarvikProcess.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/Waiting.h"

#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kBadgeLeft = 79;
constexpr int kBadgeTop = 5;
constexpr int kBadgeSize = 16;
constexpr int kTileWidth = 102;
constexpr int kTileHeight = 64;

PlayTarget Target(const char16_t* pszName, uint32_t nSeed) {
    return PlayTarget{pszName, nSeed, 24, 16, {900, 200}, {0, 0}, {}};
}

// The badge picture as Tarvik.exe holds it (bitmap 139).
PixelBuffer BadgeOfTarvik() {
    PixelBuffer badge;
    const std::wstring strExe = TestExeFolder() + L"\\Tarvik.exe";
    const HMODULE hExe = LoadLibraryExW(strExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (hExe == nullptr) {
        return badge;
    }
    {
        const CGdiObject<HBITMAP> hBitmap(static_cast<HBITMAP>(
            LoadImageW(hExe, MAKEINTRESOURCEW(139), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (hBitmap) {
            ReadBitmapPixels(hBitmap.Get(), badge);
        }
    }
    FreeLibrary(hExe);
    return badge;
}

PixelBuffer Crop(const PixelBuffer& screen, const RECT& rc) {
    PixelBuffer part(rc.right - rc.left, rc.bottom - rc.top);
    for (int y = 0; y < part.Height(); ++y) {
        for (int x = 0; x < part.Width(); ++x) {
            const LONG sx = rc.left + x;
            const LONG sy = rc.top + y;
            if (sx >= 0 && sy >= 0 && sx < screen.Width() && sy < screen.Height()) {
                part.Set(x, y, screen.At(sx, sy) & 0x00FFFFFFu);
            }
        }
    }
    return part;
}

// Orders by name, as the list holds them.
std::map<std::u16string, int> OrdersByName(const CTargetObjList& list) {
    std::map<std::u16string, int> orders;
    for (const auto& pTarget : list) {
        orders[pTarget->m_strName] = pTarget->m_nOrder;
    }
    return orders;
}

class TileEdit : public CPlayTest {
protected:
    // A tile on the screen.
    RECT TileOnScreen(size_t nIndex) const {
        const std::vector<RECT> tiles = Tiles();
        if (nIndex >= tiles.size()) {
            return RECT{};
        }
        const POINT pt = ClientToScreenPoint(ListView(), {tiles[nIndex].left, tiles[nIndex].top});
        return RECT{pt.x, pt.y, pt.x + kTileWidth, pt.y + kTileHeight};
    }
    RECT BadgeOnScreen(const RECT& rcTile) const {
        return RECT{rcTile.left + kBadgeLeft, rcTile.top + kBadgeTop,
                    rcTile.left + kBadgeLeft + kBadgeSize, rcTile.top + kBadgeTop + kBadgeSize};
    }
    bool BadgeShownOn(const RECT& rcTile) const {
        return !m_badge.IsEmpty() && Crop(CaptureScreen(), BadgeOnScreen(rcTile)) == m_badge;
    }
    bool WaitForBadge(const RECT& rcTile, bool bShown) const {
        return WaitUntil([&] { return BadgeShownOn(rcTile) == bShown; });
    }
    // Opens the badge menu of the tile with the pointer and picks an item by its mnemonic.
    void ChooseBadgeItem(const RECT& rcTile, WORD nKey, const std::string& strScene) {
        ASSERT_TRUE(GlidePointer(CentreOf(BadgeOnScreen(rcTile))));
        ASSERT_TRUE(WaitForBadge(rcTile, true)) << "no badge under the pointer";
        PressLeftButton();
        ReleaseLeftButton();
        ASSERT_TRUE(WaitUntil([&] { return FindPopupMenu(m_pTarvik->Id()) != nullptr; }))
            << "the badge menu did not open";
        Scene(strScene);
        TapKey(nKey);
    }
    // Drags a tile with the pointer to the screen point `pt` and releases it there; the drop
    // marker's rows (list view client y) must be black on the screen during the drag.
    void DragTileTo(const RECT& rcTile, POINT pt, int nMarkerY, const std::string& strScene) {
        ASSERT_TRUE(GlidePointer(CentreOf(rcTile)));
        {
            CLeftButtonHeld button;
            ASSERT_TRUE(GlidePointer(pt));
            const POINT ptMarker = ClientToScreenPoint(ListView(), {3, nMarkerY});
            EXPECT_TRUE(WaitUntil([&] {
                const PixelBuffer screen = CaptureScreen();
                return !screen.IsEmpty() && (screen.At(ptMarker.x, ptMarker.y) & 0xFFFFFF) == 0 &&
                       (screen.At(ptMarker.x + 50, ptMarker.y - 1) & 0xFFFFFF) == 0;
            })) << "no drop marker at list row "
                << nMarkerY;
            SceneNow(strScene);
        }
        ASSERT_TRUE(TarvikResponds());
    }

    PixelBuffer m_badge = BadgeOfTarvik();
};

TEST_F(TileEdit, BadgeFollowsThePointerButNotNearTheBottomEdgeAndRemoveRenumbers) {
    ASSERT_FALSE(m_badge.IsEmpty()) << "bitmap 139 not found in Tarvik.exe";
    std::vector<PlayTarget> targets;
    for (uint32_t k = 0; k < 8; ++k) {
        targets.push_back(
            Target(std::u16string(1, static_cast<char16_t>(u'A' + k)).c_str(), 10 + k));
    }
    WritePlayList(targets, DefaultListPath());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(8));

    // The tile reaching the panel's bottom: its badge shows for a pointer 20 pixels above the
    // panel's bottom edge, and goes when the pointer moves down to 12 pixels above it, still on
    // the tile.
    const LONG nBottom = ScreenRectOf(m_hMain).bottom;
    RECT rcLow{};
    for (size_t i = 0; i < 8; ++i) {
        const RECT rc = TileOnScreen(i);
        if (rc.top <= nBottom - 20 && rc.bottom > nBottom - 12) {
            rcLow = rc;
        }
    }
    ASSERT_NE(rcLow.right, 0) << "no tile reaches the panel's bottom edge";
    ASSERT_TRUE(GlidePointer({rcLow.left + 40, nBottom - 20}));
    EXPECT_TRUE(WaitForBadge(rcLow, true)) << "no badge 20 pixels above the bottom edge";
    Scene("badge-near-bottom");
    ASSERT_TRUE(GlidePointer({rcLow.left + 40, nBottom - 12}));
    EXPECT_TRUE(WaitForBadge(rcLow, false)) << "the badge stayed 12 pixels above the bottom edge";

    // Over the first tile the badge shows; off the tiles it goes.
    const RECT rcFirst = TileOnScreen(0);
    ASSERT_TRUE(GlidePointer(CentreOf(rcFirst)));
    EXPECT_TRUE(WaitForBadge(rcFirst, true));
    ASSERT_TRUE(GlidePointer({rcFirst.right + 6, rcFirst.top + 30}));
    EXPECT_TRUE(WaitForBadge(rcFirst, false));

    // Remove the second target: the third tile's picture moves up into its place.
    const PixelBuffer thirdBefore = Crop(CaptureScreen(), TileOnScreen(2));
    ASSERT_NO_FATAL_FAILURE(ChooseBadgeItem(TileOnScreen(1), 'R', "remove-menu"));
    ASSERT_TRUE(WaitForTileCount(7)) << "Remove left the tile";
    ASSERT_TRUE(GlidePointer({rcFirst.right + 6, rcFirst.top + 30}));
    EXPECT_TRUE(WaitUntil([&] { return Crop(CaptureScreen(), TileOnScreen(1)) == thirdBefore; }))
        << "the tile below did not move up";
    EXPECT_EQ(Tiles()[1].top, 76);
    Scene("removed");
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    const auto pSaved = ReadTargetListFile(DefaultListPath());
    ASSERT_NE(pSaved, nullptr);
    const std::map<std::u16string, int> orders = OrdersByName(*pSaved);
    EXPECT_EQ(orders,
              (std::map<std::u16string, int>{
                  {u"A", 0}, {u"C", 1}, {u"D", 2}, {u"E", 3}, {u"F", 4}, {u"G", 5}, {u"H", 6}}));

    // The only target removed: no tile, Play disabled and showing what it shows at a start with
    // an empty list (icon 165).
    RemoveDefaultList();
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(TarvikResponds());
    RedrawWindow(m_hMain, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const PixelBuffer emptyPlay = Crop(CaptureScreen(), ScreenRectOf(Control(kIdPlay)));
    ASSERT_FALSE(IsWindowEnabled(Control(kIdPlay)));
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    WritePlayList(std::vector<PlayTarget>{Target(u"Only", 30)}, DefaultListPath());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(1));
    EXPECT_TRUE(IsWindowEnabled(Control(kIdPlay)));
    ASSERT_NO_FATAL_FAILURE(ChooseBadgeItem(TileOnScreen(0), 'R', "remove-last-menu"));
    EXPECT_TRUE(WaitForTileCount(0));
    EXPECT_TRUE(WaitUntil([&] {
        return !IsWindowEnabled(Control(kIdPlay)) &&
               Crop(CaptureScreen(), ScreenRectOf(Control(kIdPlay))) == emptyPlay;
    })) << "Play is not disabled with the empty list's icon";
    Scene("removed-last");
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}

TEST_F(TileEdit, DraggingTheFirstTileBelowTheLastReordersAndADropBesideItselfChangesNothing) {
    WritePlayList(std::vector<PlayTarget>{Target(u"A", 1), Target(u"B", 2), Target(u"C", 3)},
                  DefaultListPath());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));
    const PixelBuffer firstBefore = Crop(CaptureScreen(), TileOnScreen(0));

    // The first tile dropped below the last (insertion point 3): the marker in the gap at 213.
    const POINT ptBelow = ClientToScreenPoint(ListView(), {50, 6 + 210 + 20});
    ASSERT_NO_FATAL_FAILURE(DragTileTo(TileOnScreen(0), ptBelow, 213, "drag-below-last"));
    ASSERT_TRUE(GlidePointer({TileOnScreen(0).right + 6, TileOnScreen(0).top + 30}));
    EXPECT_TRUE(WaitUntil([&] { return Crop(CaptureScreen(), TileOnScreen(2)) == firstBefore; }))
        << "the dragged tile is not last";
    Scene("dropped");

    // The tile now second (B's is first, C's second... A's last): B has order 0, C order 1.
    // Dropping C's tile right in front of itself (above it, insertion point 1) and right behind
    // itself (below it, insertion point 2) changes nothing.
    const POINT ptAbove = ClientToScreenPoint(ListView(), {50, 60});
    ASSERT_NO_FATAL_FAILURE(DragTileTo(TileOnScreen(1), ptAbove, 73, "drop-in-front-of-itself"));
    const POINT ptBehind = ClientToScreenPoint(ListView(), {50, 160});
    ASSERT_NO_FATAL_FAILURE(DragTileTo(TileOnScreen(1), ptBehind, 143, "drop-behind-itself"));
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    const auto pSaved = ReadTargetListFile(DefaultListPath());
    ASSERT_NE(pSaved, nullptr);
    EXPECT_EQ(OrdersByName(*pSaved),
              (std::map<std::u16string, int>{{u"A", 2}, {u"B", 0}, {u"C", 1}}));
}

TEST_F(TileEdit, EditorStoresTypedNameAndShiftOnOkOnlyAndTestsWithTheTypedShift) {
    // The board shows the target away from the panel and from the editor at its top-left.
    PlayTarget shown{u"Board picture", 77, 24, 16, {1000, 700}, {4, 4}, {}};
    ASSERT_NO_FATAL_FAILURE(StartScene({shown}, {}, Rect{960, 660, 1100, 760}));
    ASSERT_TRUE(WaitForTileCount(1));
    const auto openEditor = [&](const std::string& strScene) {
        ChooseBadgeItem(TileOnScreen(0), 'E', strScene);
        return WaitForDialog(L"Target Editor");
    };
    HWND hEditor = openEditor("edit-menu");
    ASSERT_NE(hEditor, nullptr) << "no Target Editor";
    const HWND hName = GetDlgItem(hEditor, 1052);
    const HWND hShiftX = GetDlgItem(hEditor, 1055);
    const HWND hShiftY = GetDlgItem(hEditor, 1038);
    EXPECT_EQ(TextOf(hName), L"Board picture");
    EXPECT_EQ(TextOf(hShiftX), L"4");
    EXPECT_EQ(TextOf(hShiftY), L"4");

    // The name field has the focus with its text selected; Tab moves on to the shifts.
    TypeText(L"renamed 7");
    TapKey(VK_TAB);
    TypeText(L"-25");  // a negative shift is typed as it reads
    TapKey(VK_TAB);
    for (int i = 0; i < 7; ++i) {
        TapKey(VK_DOWN);  // 4 down to -3 with the arrow keys
    }
    ASSERT_TRUE(WaitUntil([&] { return TextOf(hShiftY) == L"-3"; }))
        << "the arrow keys gave " << std::string(TextOf(hShiftY).begin(), TextOf(hShiftY).end());
    EXPECT_EQ(TextOf(hName), L"renamed 7");
    EXPECT_EQ(TextOf(hShiftX), L"-25");

    // Recognize Test: the sight at the found centre plus the typed shift, before OK.
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(GetDlgItem(hEditor, 1012)))));
    const HWND hSight = WaitForSight();
    ASSERT_NE(hSight, nullptr) << "Recognize Test showed no sight";
    const Point centre = PictureCentre(shown.topLeft, shown.nWidth, shown.nHeight);
    EXPECT_EQ(RectText(ScreenRectOf(hSight)), RectText({centre.x - 25 - 32, centre.y - 3 - 32,
                                                        centre.x - 25 + 32, centre.y - 3 + 32}));
    SceneNow("recognize-test");
    ClickDialogButton(hEditor, IDOK);

    // Cancel keeps what OK stored; 1500 typed is 1500.
    hEditor = openEditor("edit-menu-2");
    ASSERT_NE(hEditor, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(hEditor, 1052)), L"renamed 7");
    EXPECT_EQ(TextOf(GetDlgItem(hEditor, 1055)), L"-25");
    EXPECT_EQ(TextOf(GetDlgItem(hEditor, 1038)), L"-3");
    TypeText(L"Not kept");
    ClickDialogButton(hEditor, IDCANCEL);
    hEditor = openEditor("edit-menu-3");
    ASSERT_NE(hEditor, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(hEditor, 1052)), L"renamed 7");
    TapKey(VK_TAB);
    TypeText(L"1500");
    Scene("typed-1500");
    ClickDialogButton(hEditor, IDOK);

    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    const auto pSaved = ReadTargetListFile(DefaultListPath());
    ASSERT_NE(pSaved, nullptr);
    ASSERT_EQ(pSaved->Count(), 1u);
    const CTargetObj& saved = **pSaved->begin();
    EXPECT_EQ(saved.m_strName, u"renamed 7");
    EXPECT_EQ(saved.m_ptClickShift, (Point{1500, -3}));
}

TEST_F(TileEdit, RecognizeTestSaysWhereATargetIsOrWhereItComesNearest) {
    // The board shows both pictures; the list holds the second with three pixels changed.
    const PlayTarget shown{u"Shown", 77, 24, 16, {1000, 700}, {0, 0}, {}};
    const PlayTarget onBoard{u"Changed", 78, 24, 16, {1100, 600}, {0, 0}, {}};
    ASSERT_NO_FATAL_FAILURE(StartScene({shown, onBoard}, {}, Rect{960, 560, 1160, 760}));
    ASSERT_TRUE(WaitForTileCount(2));
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    PlayTarget changed = onBoard;
    changed.picture = PictureOf(onBoard);
    for (const Point pixel : {Point{0, 0}, Point{23, 15}, Point{11, 4}}) {
        changed.picture->Set(pixel.x, pixel.y, changed.picture->At(pixel.x, pixel.y) ^ 0x00402010);
    }
    WritePlayList(std::vector<PlayTarget>{shown, changed}, DefaultListPath());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(2));

    const auto testTile = [&](size_t nTile, const std::wstring& strExpected,
                              const std::string& strScene) {
        ChooseBadgeItem(TileOnScreen(nTile), 'E', strScene + "-menu");
        const HWND hEditor = WaitForDialog(L"Target Editor");
        ASSERT_NE(hEditor, nullptr) << "no Target Editor";
        const HWND hStatus = GetDlgItem(hEditor, 1070);
        EXPECT_EQ(TextOf(hStatus), L"");
        ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(GetDlgItem(hEditor, 1012)))));
        EXPECT_TRUE(WaitUntil([&] { return TextOf(hStatus) == strExpected; }))
            << std::string(TextOf(hStatus).begin(), TextOf(hStatus).end());
        SceneNow(strScene);
        ClickDialogButton(hEditor, IDCANCEL);
    };
    ASSERT_NO_FATAL_FAILURE(
        testTile(1, L"Not on the screen\r\nNearest place (1100, 600): 3 of 384 pixels differ",
                 "recognize-nearest"));
    ASSERT_NO_FATAL_FAILURE(
        testTile(0, L"Found at (1000, 700), clicks at (1012, 708)", "recognize-found"));
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}

}  // namespace
