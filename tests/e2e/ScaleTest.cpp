// Tarvik on a display at 144 or 192 DPI (tarvik_e2e_scale_*): the panel and its buttons grow by
// the display's scale with every icon inside its button, a captured target's tile shows it at the
// scale, and the capture and Play stay in real pixels. At 96 DPI the panel is the same, pixel for
// pixel, as the reference screenshot taken before the drawing learnt to scale.
#include "tests/e2e/PlayTest.h"

#include "capture/Selection.h"
#include "engine/Dimming.h"
#include "engine/DpiScale.h"
#include "engine/PictureSearch.h"
#include "engine/TargetSearch.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/TarvikWindows.h"
#include "tests/e2e/Waiting.h"
#include "tools/cli/ScreenImage.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// The panel's width, a tile's size and the marker's size at 96 DPI.
constexpr int kPanelWidth = 130;
constexpr SIZE kTileSize{102, 64};
constexpr int kSightSize = 64;

// The captured picture: a plain block framed in another colour, so that its block can be found
// in the tile even where a fractional scale smooths the frame's edge.
constexpr uint32_t kBlock = 0x00E03090;
constexpr uint32_t kFrame = 0x00107020;
constexpr int kFrameWidth = 4;
constexpr SIZE kFramedSize{40, 24};

PixelBuffer FramedBlock() {
    PixelBuffer picture(kFramedSize.cx, kFramedSize.cy);
    for (int y = 0; y < kFramedSize.cy; ++y) {
        for (int x = 0; x < kFramedSize.cx; ++x) {
            const bool bInside = x >= kFrameWidth && x < kFramedSize.cx - kFrameWidth &&
                                 y >= kFrameWidth && y < kFramedSize.cy - kFrameWidth;
            picture.Set(x, y, bInside ? kBlock : kFrame);
        }
    }
    return picture;
}

// In the list and on the board; its click shift must survive the scale.
const PlayTarget kListed{u"Listed", 303, 30, 20, {60, 900}, {-7, 5}, {}};
// On the board only: the capture takes it.
const PlayTarget kFramed{u"", 0, kFramedSize.cx, kFramedSize.cy, {150, 700}, {0, 0}, FramedBlock()};
// Left of the panel, which takes the middle of the screen at every scale.
constexpr Rect kBoardWindow{20, 620, 480, 1000};

// The DPI the session's display was started with (wine-run.sh tells it), 96 by default.
int SessionDpi() {
    const char* pszDpi = std::getenv("TARVIK_SESSION_DPI");
    return pszDpi != nullptr ? std::atoi(pszDpi) : kBaseDpi;
}

int ScreenDpi() {
    const HDC hScreen = GetDC(nullptr);
    const int nDpi = GetDeviceCaps(hScreen, LOGPIXELSX);
    ReleaseDC(nullptr, hScreen);
    return nDpi;
}

PixelBuffer PixelsIn(const PixelBuffer& screen, const RECT& rc) {
    return CutPicture(screen, Rect{rc.left, rc.top, rc.right, rc.bottom});
}

// `picture` with each pixel as a `nFactor` x `nFactor` block.
PixelBuffer Enlarged(const PixelBuffer& picture, int nFactor) {
    PixelBuffer large(picture.Width() * nFactor, picture.Height() * nFactor);
    for (int y = 0; y < large.Height(); ++y) {
        for (int x = 0; x < large.Width(); ++x) {
            large.Set(x, y, picture.At(x / nFactor, y / nFactor));
        }
    }
    return large;
}

// The bounding box of the pixels of colour `nPixel`; empty when there are none.
RECT BoundsOf(const PixelBuffer& pixels, uint32_t nPixel) {
    RECT rc{pixels.Width(), pixels.Height(), 0, 0};
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            if ((pixels.At(x, y) & 0x00FFFFFFu) == nPixel) {
                rc = {std::min<LONG>(rc.left, x), std::min<LONG>(rc.top, y),
                      std::max<LONG>(rc.right, x + 1), std::max<LONG>(rc.bottom, y + 1)};
            }
        }
    }
    return rc.right > rc.left ? rc : RECT{};
}

// Where a button's picture spills over or is cut by its edge: a button's frame is drawn as plain
// lines, so each of its two outer rings' sides holds one colour, but for the `nCorner` pixels at
// either end where the corners are rounded. Returns the first side that does not, or nothing.
std::string SpoiltEdge(const PixelBuffer& button, int nCorner) {
    const int cx = button.Width();
    const int cy = button.Height();
    for (int nInset = 0; nInset < 2; ++nInset) {
        struct Side {
            const char* pszName;
            POINT from;
            POINT step;
            int nLength;
        };
        const Side sides[] = {
            {"top", {nCorner, nInset}, {1, 0}, cx - 2 * nCorner},
            {"bottom", {nCorner, cy - 1 - nInset}, {1, 0}, cx - 2 * nCorner},
            {"left", {nInset, nCorner}, {0, 1}, cy - 2 * nCorner},
            {"right", {cx - 1 - nInset, nCorner}, {0, 1}, cy - 2 * nCorner},
        };
        for (const Side& side : sides) {
            const uint32_t nFirst = button.At(side.from.x, side.from.y);
            for (int i = 1; i < side.nLength; ++i) {
                if (button.At(side.from.x + side.step.x * i, side.from.y + side.step.y * i) !=
                    nFirst) {
                    return std::string(side.pszName) + " edge, ring " + std::to_string(nInset) +
                           ", pixel " + std::to_string(i);
                }
            }
        }
    }
    return {};
}

// Whether `actual` equals `expected` in size and colours; the message counts the pixels that
// differ and names the first.
::testing::AssertionResult SamePixels(const PixelBuffer& actual, const PixelBuffer& expected) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        return ::testing::AssertionFailure()
               << "the size is " << actual.Width() << " x " << actual.Height() << " instead of "
               << expected.Width() << " x " << expected.Height();
    }
    size_t nDiffering = 0;
    std::string strFirst;
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            const uint32_t nActual = actual.At(x, y) & 0x00FFFFFFu;
            const uint32_t nExpected = expected.At(x, y) & 0x00FFFFFFu;
            if (nActual != nExpected && nDiffering++ == 0) {
                strFirst = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                           std::to_string(nActual) + " instead of " + std::to_string(nExpected);
            }
        }
    }
    if (nDiffering == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << nDiffering << " pixels differ, the first " << strFirst;
}

size_t ColourCount(const PixelBuffer& pixels) {
    std::set<uint32_t> colours;
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            colours.insert(pixels.At(x, y) & 0x00FFFFFFu);
        }
    }
    return colours.size();
}

}  // namespace

class ScaleTest : public CPlayTest {
protected:
    // Real pixels everywhere, whatever Wine would do for a process unaware of the DPI.
    static void SetUpTestSuite() { SetProcessDPIAware(); }

    void SetUp() override {
        CPlayTest::SetUp();
        ASSERT_EQ(ScreenDpi(), SessionDpi()) << "the display does not run at the session's DPI";
        m_scale = CDpiScale(ScreenDpi());
    }

    // Select target, then a drag from `ptPress` to `ptRelease` on the overlay, until the panel
    // is back. The overlay must show `rcUnscaled` of the screen `before` dimmed, where it was.
    // Use with ASSERT_NO_FATAL_FAILURE.
    void CaptureByDrag(POINT ptPress, POINT ptRelease, const PixelBuffer& before,
                       const RECT& rcUnscaled) {
        ASSERT_TRUE(GlidePointer(CentreOf(ScreenRectOf(Control(kIdSelectTarget)))));
        ASSERT_TRUE(TarvikResponds());
        PressLeftButton();
        ReleaseLeftButton();
        ASSERT_TRUE(WaitUntil([&] { return FindOverlay() != nullptr; }))
            << "no overlay after Select target";
        PixelBuffer dimmed = PixelsIn(before, rcUnscaled);
        DimPixels(dimmed);
        EXPECT_TRUE(WaitUntil([&] { return PixelsIn(CaptureScreen(), rcUnscaled) == dimmed; }))
            << "the overlay does not show the frozen screen 1:1";
        Scene("overlay");
        ASSERT_TRUE(GlidePointer(ptPress));
        {
            CLeftButtonHeld held;
            ASSERT_TRUE(GlidePointer(ptRelease, 8, [&](POINT) { TarvikResponds(); }));
        }
        ASSERT_TRUE(WaitUntil([&] { return FindOverlay() == nullptr && IsWindowVisible(m_hMain); }))
            << "the overlay stayed after the drag";
    }

    // Tarvik's marker, shown at the scale: a visible square top-level window of the marker's
    // size other than the panel; null when there is none.
    HWND FindSight() const {
        const int nSize = m_scale.Scale(kSightSize);
        for (const HWND hWnd : TopLevelWindowsOf(m_pTarvik->Id())) {
            const RECT rc = ScreenRectOf(hWnd);
            if (hWnd != m_hMain && IsWindowVisible(hWnd) && WidthOf(rc) == nSize &&
                HeightOf(rc) == nSize) {
                return hWnd;
            }
        }
        return nullptr;
    }

    CDpiScale m_scale;
};

TEST_F(ScaleTest, ThePanelGrowsByTheScaleAndEveryIconStaysInsideItsButton) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const RECT rcPanel = ScreenRectOf(m_hMain);
    Scene("panel");
    EXPECT_EQ(WidthOf(rcPanel), m_scale.Scale(kPanelWidth)) << RectText(rcPanel);

    const PixelBuffer screen = CaptureScreen();
    // The buttons' rounded corners take 3 pixels at 96 DPI.
    const int nCorner = m_scale.Scale(4);
    const struct {
        const char* pszName;
        int nId;
    } buttons[] = {{"Select target", kIdSelectTarget},
                   {"Play", kIdPlay},
                   {"File", kIdFile},
                   {"Edit", kIdEdit},
                   {"Help", kIdHelp}};
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.pszName);
        const HWND hButton = Control(button.nId);
        ASSERT_NE(hButton, nullptr);
        const RECT rc = ScreenRectOf(hButton);
        RECT rcShown{};
        IntersectRect(&rcShown, &rc, &rcPanel);
        EXPECT_TRUE(EqualRect(&rcShown, &rc))
            << "the button " << RectText(rc) << " is cut by the panel " << RectText(rcPanel);
        ASSERT_GT(WidthOf(rc), 2 * nCorner);
        ASSERT_GT(HeightOf(rc), 2 * nCorner);
        const PixelBuffer pixels = PixelsIn(screen, rc);
        EXPECT_EQ(SpoiltEdge(pixels, nCorner), "")
            << "the icon spills over or is cut at the button's edge";
        EXPECT_GT(ColourCount(pixels), 3u) << "the button shows no icon";
    }
}

TEST_F(ScaleTest, ACapturedTargetsTileShowsItAtTheScaleAndPlayClicksCentrePlusShift) {
    // The listed target is in the list, hidden at first; the framed one is on the board alone.
    WritePlayList(std::vector<PlayTarget>{kListed}, DefaultListPath());
    m_targets = {kListed, kFramed};
    const std::vector<size_t> hidden{0};
    m_pBoard = std::make_unique<CBoardProcess>(BoardArgumentsFor(
        m_targets, ScratchFolder() / "board", ScratchFolder() / "board.log", hidden, kBoardWindow));
    ASSERT_TRUE(m_pBoard->IsReady()) << "the board did not start";
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(1));
    const PixelBuffer before = CaptureScreen();

    // From the lower right to the upper left of the framed picture: the target is that picture.
    const POINT ptRelease{kFramed.topLeft.x, kFramed.topLeft.y};
    const POINT ptPress{ptRelease.x + kFramedSize.cx, ptRelease.y + kFramedSize.cy};
    const RECT rcFramed{ptRelease.x, ptRelease.y, ptPress.x, ptPress.y};
    ASSERT_NO_FATAL_FAILURE(CaptureByDrag(ptPress, ptRelease, before, rcFramed));
    ASSERT_TRUE(WaitForTileCount(2));
    Scene("captured");

    // The capture is in real pixels: the rectangle dragged, the screen's pixels there.
    std::unique_ptr<CTargetObjList> pList;
    ASSERT_TRUE(WaitUntil([&] {
        pList = ReadTargetListFile(DefaultListPath());
        return pList != nullptr && pList->Count() == 2;
    })) << "the default file does not hold the new target";
    const CTargetObj* pNew = pList->FindByOrder(1);
    ASSERT_NE(pNew, nullptr);
    const Rect rcTarget{ptRelease.x, ptRelease.y, ptPress.x, ptPress.y};
    EXPECT_EQ(pNew->m_rcTarget, rcTarget);
    ASSERT_NE(pNew->m_bmpTarget.Pixels(), nullptr);
    EXPECT_EQ(*pNew->m_bmpTarget.Pixels(), CutPicture(before, rcTarget));
    EXPECT_EQ(*pNew->m_bmpTarget.Pixels(), FramedBlock());

    // The new tile, scaled, shows the block at the scale: at a whole factor each picture pixel
    // is a block of pixels; at a fractional one the smoothed frame may blur the block's edge.
    const std::vector<RECT> tiles = Tiles();
    ASSERT_EQ(tiles.size(), 2u);
    const POINT ptTile = ClientToScreenPoint(ListView(), {tiles[1].left, tiles[1].top});
    const RECT rcTile{ptTile.x, ptTile.y, ptTile.x + WidthOf(tiles[1]),
                      ptTile.y + HeightOf(tiles[1])};
    EXPECT_EQ(WidthOf(rcTile), m_scale.Scale(kTileSize.cx));
    EXPECT_EQ(HeightOf(rcTile), m_scale.Scale(kTileSize.cy));
    const PixelBuffer tile = PixelsIn(CaptureScreen(), rcTile);
    const RECT rcBlock = BoundsOf(tile, kBlock);
    const SIZE block{kFramedSize.cx - 2 * kFrameWidth, kFramedSize.cy - 2 * kFrameWidth};
    EXPECT_NEAR(WidthOf(rcBlock), m_scale.Scale(block.cx), 2) << RectText(rcBlock);
    EXPECT_NEAR(HeightOf(rcBlock), m_scale.Scale(block.cy), 2) << RectText(rcBlock);
    if (m_scale.Dpi() % kBaseDpi == 0) {
        EXPECT_TRUE(FindPictureReference(tile, Enlarged(FramedBlock(), m_scale.Dpi() / kBaseDpi)))
            << "the tile does not show each picture pixel as a block";
    }

    // Play clicks the captured picture's centre; once the listed one shows, its centre plus
    // its shift, both in real pixels.
    const Point ptFramed = MakeTargetHit(*pNew, Point{rcTarget.left, rcTarget.top}).click;
    EXPECT_EQ(ptFramed, ClickPointOf(kFramed));
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    // The marker grows with the scale and stays centred on the click point.
    HWND hSight = nullptr;
    if (WaitUntil([&] { return (hSight = FindSight()) != nullptr; }, kReactionTimeoutMs, 1)) {
        const RECT rcSight = ScreenRectOf(hSight);
        EXPECT_EQ(CentreOf(rcSight).x, ptFramed.x) << RectText(rcSight);
        EXPECT_EQ(CentreOf(rcSight).y, ptFramed.y) << RectText(rcSight);
    } else {
        ADD_FAILURE() << "no marker of " << m_scale.Scale(kSightSize) << " pixels during the glide";
    }
    ASSERT_TRUE(WaitForClicks(1));
    EXPECT_TRUE(AllClicksAt(ptFramed));
    ASSERT_TRUE(m_pBoard->Show(0, true));
    const Point ptListed = ClickPointOf(kListed);
    std::vector<BoardEvent> events;
    ASSERT_TRUE(WaitUntil([&] {
        events = ButtonEvents();
        return events.size() % 2 == 0 && Point{events.back().x, events.back().y} == ptListed;
    })) << "Play did not click the listed target once it showed";
    SceneNow("listed-clicked");
    // Every click is at one of the two points, the framed picture's before the listed one's.
    size_t nFirstListed = 0;
    while (nFirstListed < events.size() &&
           Point{events[nFirstListed].x, events[nFirstListed].y} == ptFramed) {
        ++nFirstListed;
    }
    EXPECT_EQ(nFirstListed % 2, 0u) << FormatBoardEvent(events[nFirstListed]);
    EXPECT_TRUE(AllClicksAt(ptListed, nFirstListed / 2));
}

// Not a ScaleTest: it runs with the other scenes, on the 96-DPI display.
class PanelPixels : public CEndToEndTest {};

TEST_F(PanelPixels, AtNinetySixDpiThePanelEqualsTheReferencePixelForPixel) {
    ASSERT_EQ(ScreenDpi(), kBaseDpi);
    WriteTargetListFile(DefaultListPath(), 3);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));
    Scene("panel");
    const PixelBuffer panel = PixelsIn(CaptureScreen(), ScreenRectOf(m_hMain));
    const std::filesystem::path shown =
        std::filesystem::path(TestExeFolder()) / "screenshots" / "e2e" / "panel-96dpi.png";
    EXPECT_TRUE(SavePng(panel, shown));
    const PixelBuffer reference = LoadScreenImage(std::filesystem::path(TestExeFolder()) /
                                                  "e2e-reference" / "panel-96dpi.png");
    EXPECT_TRUE(SamePixels(panel, reference))
        << "the panel differs from the reference; it is saved as " << shown.string();
}
