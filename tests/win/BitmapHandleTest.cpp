// Bitmap handles read into our pictures, window regions made from key-colour pictures, and the
// sight window's shape.
#include "engine/BitmapHandle.h"
#include "engine/RegionRuns.h"
#include "engine/SightWnd.h"
#include "framework/HandleCounts.h"
#include "framework/WindowDC.h"

#include "FrameworkTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

class BitmapHandle : public ::testing::Test {
protected:
    void SetUp() override { m_nBaselineTotal = CHandleCounts::Total(); }
    void TearDown() override { EXPECT_EQ(CHandleCounts::Total(), m_nBaselineTotal); }

    long m_nBaselineTotal = 0;
};

// Pixel (x, y) of the test pictures: every channel differs with x and y, alpha set.
uint32_t Known(int x, int y) {
    return MakeBgr0(static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(20 * y + 2),
                    static_cast<uint8_t>(200 - x - 7 * y));
}

PixelBuffer KnownPicture(int nWidth, int nHeight) {
    PixelBuffer picture(nWidth, nHeight);
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            picture.Set(x, y, Known(x, y));
        }
    }
    return picture;
}

// The header of a DIB of `nWidth` x `nHeight` (negative: top-down rows) and `nBits`.
BITMAPINFO DibInfo(int nWidth, int nHeight, int nBits) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = static_cast<WORD>(nBits);
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// A bottom-up DIB section of `nBits` (24 or 32) holding Known pixels; 32-bit pixels carry
// `alpha` in their fourth byte.
CGdiObject<HBITMAP> KnownDibSection(int nWidth, int nHeight, int nBits, uint8_t alpha = 0) {
    BITMAPINFO bmi = DibInfo(nWidth, nHeight, nBits);
    void* pBits = nullptr;
    CGdiObject<HBITMAP> bitmap(
        ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!bitmap) {
        return bitmap;
    }
    const size_t stride = ((static_cast<size_t>(nWidth) * nBits + 31) / 32) * 4;
    auto* pBytes = static_cast<uint8_t*>(pBits);
    for (int y = 0; y < nHeight; ++y) {
        uint8_t* pRow = pBytes + stride * static_cast<size_t>(nHeight - 1 - y);
        for (int x = 0; x < nWidth; ++x) {
            const uint32_t pixel = Known(x, y) | (uint32_t{alpha} << 24);
            std::memcpy(pRow + static_cast<size_t>(x) * (nBits / 8), &pixel, nBits / 8);
        }
    }
    ::GdiFlush();
    return bitmap;
}

// The picture with its fourth byte cleared.
PixelBuffer ColoursOnly(PixelBuffer picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            picture.Set(x, y, picture.At(x, y) & 0x00FFFFFFu);
        }
    }
    return picture;
}

TEST_F(BitmapHandle, LoadsDibSectionsOf24And32BitsAsBottomUp32Bits) {
    // Width 5: a 24-bit row has 15 bytes and is padded to 16.
    for (int nBits : {24, 32}) {
        SCOPED_TRACE(nBits);
        const CGdiObject<HBITMAP> dib = KnownDibSection(5, 3, nBits);
        ASSERT_TRUE(dib);
        CBitmapEx bitmap;
        ASSERT_TRUE(LoadFromBitmapHandle(bitmap, dib.Get()));
        EXPECT_EQ(bitmap.Width(), 5);
        EXPECT_EQ(bitmap.Height(), 3);
        EXPECT_EQ(bitmap.BitsPerPixel(), 32);
        EXPECT_EQ(bitmap.Stride(), 20u);
        EXPECT_EQ(bitmap.ImageSize(), 60u);
        EXPECT_EQ(ColoursOnly(bitmap.ToTopDownPixels()), KnownPicture(5, 3));
        // Row 0 of the data is the bottom line.
        uint32_t firstPixel = 0;
        std::memcpy(&firstPixel, bitmap.Data(), 4);
        EXPECT_EQ(firstPixel & 0x00FFFFFFu, Known(0, 2));
    }
}

TEST_F(BitmapHandle, LoadsAScreenCompatibleBitmap) {
    const PixelBuffer known = KnownPicture(7, 4);
    CGdiObject<HBITMAP> ddb;
    {
        const CClientDC screen(nullptr);
        ddb = CGdiObject<HBITMAP>(::CreateCompatibleBitmap(screen.Get(), 7, 4));
        ASSERT_TRUE(ddb);
        BITMAPINFO bmi = DibInfo(7, -4, 32);
        ASSERT_EQ(::SetDIBits(screen.Get(), ddb.Get(), 0, 4, known.Data(), &bmi, DIB_RGB_COLORS),
                  4);
    }
    CBitmapEx bitmap;
    ASSERT_TRUE(LoadFromBitmapHandle(bitmap, ddb.Get()));
    EXPECT_EQ(ColoursOnly(bitmap.ToTopDownPixels()), known);
    PixelBuffer read;
    ASSERT_TRUE(ReadBitmapPixels(ddb.Get(), read));
    EXPECT_EQ(read, known);
}

TEST_F(BitmapHandle, NullHandleLeavesThePictureAndEightBitsEmptyIt) {
    CBitmapEx bitmap;
    ASSERT_TRUE(bitmap.LoadFromPixels(KnownPicture(2, 2)));
    EXPECT_FALSE(LoadFromBitmapHandle(bitmap, nullptr));
    EXPECT_EQ(bitmap.ToTopDownPixels(), KnownPicture(2, 2));

    BITMAPINFO bmi = DibInfo(4, 4, 8);
    void* pBits = nullptr;
    const CGdiObject<HBITMAP> paletted(
        ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    ASSERT_TRUE(paletted);
    EXPECT_FALSE(LoadFromBitmapHandle(bitmap, paletted.Get()));
    EXPECT_TRUE(bitmap.IsEmpty());
}

TEST_F(BitmapHandle, ReadsPixelsTopDownWithTheFourthByteZero) {
    for (int nBits : {24, 32}) {
        SCOPED_TRACE(nBits);
        const CGdiObject<HBITMAP> dib = KnownDibSection(3, 5, nBits, 0xAB);
        PixelBuffer read(1, 1);
        ASSERT_TRUE(ReadBitmapPixels(dib.Get(), read));
        EXPECT_EQ(read, KnownPicture(3, 5));
    }
    PixelBuffer read(1, 1);
    EXPECT_FALSE(ReadBitmapPixels(nullptr, read));
    EXPECT_TRUE(read.IsEmpty());
}

// The pixels of `picture`'s rectangle whose membership in `hRegion` differs from `opaque`, as
// "x,y" (at most 10); also checks one pixel beyond each side.
template <class TOpaque>
std::vector<std::string> RegionMismatches(HRGN hRegion, const PixelBuffer& picture,
                                          TOpaque opaque) {
    std::vector<std::string> mismatches;
    for (int y = -1; y <= picture.Height(); ++y) {
        for (int x = -1; x <= picture.Width(); ++x) {
            const bool bInside = x >= 0 && y >= 0 && x < picture.Width() && y < picture.Height();
            const bool bExpected = bInside && opaque(x, y);
            if ((::PtInRegion(hRegion, x, y) != FALSE) != bExpected && mismatches.size() < 10) {
                mismatches.push_back(std::to_string(x) + "," + std::to_string(y));
            }
        }
    }
    return mismatches;
}

TEST_F(BitmapHandle, RegionHoldsTheOpaquePixelsOnly) {
    // Key white; the '~' pixels lie within 16 of it in every channel and are cut away too.
    const char* const rows[] = {
        " ##~ ",
        "#~  #",
        "   ~ ",
        "#####",
    };
    PixelBuffer picture(5, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const char c = rows[y][x];
            picture.Set(x, y,
                        c == '#'   ? MakeBgr0(255, 242, 0)
                        : c == '~' ? MakeBgr0(239, 250, 255)
                                   : MakeBgr0(255, 255, 255));
        }
    }
    const CGdiObject<HRGN> region = CreateRegionFromPicture(picture);
    ASSERT_TRUE(region);
    EXPECT_EQ(
        RegionMismatches(region.Get(), picture, [&](int x, int y) { return rows[y][x] == '#'; }),
        std::vector<std::string>{});
}

TEST_F(BitmapHandle, PictureOfKeyColourGivesAnEmptyRegion) {
    PixelBuffer picture(6, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x) {
            picture.Set(x, y, MakeBgr0(100 + x, 116 - y, 84 + 2 * y));
        }
    }
    const CGdiObject<HRGN> region = CreateRegionFromPicture(picture);
    ASSERT_TRUE(region);
    RECT rcBox;
    EXPECT_EQ(::GetRgnBox(region.Get(), &rcBox), NULLREGION);
    const CGdiObject<HRGN> none = CreateRegionFromPicture(PixelBuffer());
    ASSERT_TRUE(none);
    EXPECT_EQ(::GetRgnBox(none.Get(), &rcBox), NULLREGION);
}

TEST_F(BitmapHandle, RegionOfMoreThanOneBatchOfRunsIsTheirUnion) {
    // Random opaque and key pixels: about 40 runs a row, over 2000 in all.
    std::mt19937 random(7);
    PixelBuffer picture(160, 70);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            picture.Set(x, y, (random() & 1) != 0 ? MakeBgr0(20, 40, 60) : 0);
        }
    }
    picture.Set(0, 0, 0);
    ASSERT_GE(RegionRunsFromKeyColour(picture).size(), 2u);
    const CGdiObject<HRGN> region = CreateRegionFromPicture(picture);
    ASSERT_TRUE(region);
    EXPECT_EQ(RegionMismatches(region.Get(), picture,
                               [&](int x, int y) { return picture.At(x, y) != 0; }),
              std::vector<std::string>{});
}

class SightWnd : public BitmapHandle {};

TEST_F(SightWnd, IsA64SquareShapedByItsPicture) {
    const long nRegionsBefore = CHandleCounts::Live(HandleKind::Region);
    CSightWnd sight;
    ASSERT_TRUE(sight.Create(nullptr));
    const RECT rc = sight.GetWindowRect();
    EXPECT_EQ(rc.right - rc.left, 64);
    EXPECT_EQ(rc.bottom - rc.top, 64);
    // The window owns its region: no owner of ours holds one.
    EXPECT_EQ(CHandleCounts::Live(HandleKind::Region), nRegionsBefore);

    CGdiObject<HRGN> shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(sight.GetSafeHwnd(), shape.Get()), ERROR);
    EXPECT_FALSE(::PtInRegion(shape.Get(), 0, 0));    // white corner
    EXPECT_FALSE(::PtInRegion(shape.Get(), 32, 32));  // white centre
    EXPECT_TRUE(::PtInRegion(shape.Get(), 5, 32));    // yellow ring
    EXPECT_TRUE(::PtInRegion(shape.Get(), 32, 1));    // dark shading at the top
    const CGdiObject<HRGN> fromPicture = CreateRegionFromBitmap();
    ASSERT_TRUE(fromPicture);
    EXPECT_TRUE(::EqualRgn(shape.Get(), fromPicture.Get()));

    EXPECT_FALSE(sight.IsWindowVisible());
    // Not under the pointer: on an X display without a window manager the keyboard focus follows
    // the pointer, which would make the window under it the foreground one.
    ::SetCursorPos(400, 300);
    EXPECT_EQ(sight.PlaceAndShow(0, 0), 1);
    // It takes no input: neither made nor shown may it take the activation from the window the
    // user (or Play) works in.
    EXPECT_NE(::GetActiveWindow(), sight.GetSafeHwnd());
    EXPECT_NE(::GetForegroundWindow(), sight.GetSafeHwnd());
    const RECT rcPlaced = sight.GetWindowRect();
    EXPECT_EQ(rcPlaced.left, -32);
    EXPECT_EQ(rcPlaced.top, -32);
    EXPECT_EQ(rcPlaced.right - rcPlaced.left, 64);
    EXPECT_TRUE(sight.IsWindowVisible());
    // Desktop points on monitors left of, above and right of the primary one: the marker is
    // centred on each as it is, never pulled back onto the primary screen.
    for (const POINT pt : {POINT{-1019, -295}, POINT{-1, 1500}, POINT{2100, 40}}) {
        sight.PlaceAndShow(pt.x, pt.y);
        const RECT rcMoved = sight.GetWindowRect();
        EXPECT_EQ(rcMoved.left, pt.x - 32) << pt.x << "," << pt.y;
        EXPECT_EQ(rcMoved.top, pt.y - 32) << pt.x << "," << pt.y;
    }
    sight.EndDialog(0);
    PumpPendingMessages();
}

Rect WindowRectOf(const CWnd& wnd) {
    const RECT rc = wnd.GetWindowRect();
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

TEST_F(SightWnd, TakesTheScaleOfItsMonitorCentredOnTheClickPoint) {
    const CDpiOverride dpi(192);
    CSightWnd sight;
    ASSERT_TRUE(sight.Create(nullptr));
    ::SetCursorPos(400, 300);
    sight.PlaceAndShow(300, 200);
    EXPECT_EQ(WindowRectOf(sight), (Rect{236, 136, 364, 264}));
    // The picture's pixels as blocks: the ring at (5, 32) of the picture is at (10, 64) and
    // (11, 65), the white centre is cut away.
    CGdiObject<HRGN> shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(sight.GetSafeHwnd(), shape.Get()), ERROR);
    EXPECT_TRUE(::PtInRegion(shape.Get(), 10, 64));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 11, 65));
    EXPECT_FALSE(::PtInRegion(shape.Get(), 64, 64));
    EXPECT_FALSE(::PtInRegion(shape.Get(), 127, 127));

    // Moved to a monitor of another DPI, it keeps its point in the middle.
    struct Step {
        int nDpi;
        Rect rc;
    };
    for (const Step& step : {Step{144, {252, 152, 348, 248}}, Step{120, {260, 160, 340, 240}},
                             Step{96, {268, 168, 332, 232}}}) {
        RECT rcSuggested{0, 0, 10, 10};
        ::SendMessageW(sight.GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(step.nDpi, step.nDpi),
                       reinterpret_cast<LPARAM>(&rcSuggested));
        EXPECT_EQ(sight.Scale().Dpi(), step.nDpi);
        EXPECT_EQ(WindowRectOf(sight), step.rc) << step.nDpi;
    }
    sight.EndDialog(0);
    PumpPendingMessages();
}

}  // namespace
