// The RAII owners of GDI and USER handles: live counts, deletion, moves, selection and saved
// DC state.
#include "framework/CursorHandle.h"
#include "framework/GdiObject.h"
#include "framework/HandleCounts.h"
#include "framework/Icon.h"
#include "framework/MemDC.h"
#include "framework/MenuHandle.h"
#include "framework/SaveDC.h"
#include "framework/SelectObject.h"
#include "framework/WindowDC.h"

#include "tests/win/FrameworkTestResource.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Each test checks the counts against the state it started from.
class FrameworkGdi : public ::testing::Test {
protected:
    long Grown(HandleKind kind) const { return CHandleCounts::Live(kind) - Baseline(kind); }
    long Baseline(HandleKind kind) const { return m_baseline[static_cast<size_t>(kind)]; }

    void SetUp() override {
        for (size_t i = 0; i < kHandleKindCount; ++i) {
            m_baseline[i] = CHandleCounts::Live(static_cast<HandleKind>(i));
        }
        m_nBaselineTotal = CHandleCounts::Total();
    }
    void TearDown() override { EXPECT_EQ(CHandleCounts::Total(), m_nBaselineTotal); }

    long m_baseline[kHandleKindCount] = {};
    long m_nBaselineTotal = 0;
};

// True while the GDI object exists; a deleted handle has no type.
bool GdiObjectExists(HGDIOBJ hObject) {
    return GetObjectType(hObject) != 0;
}

TEST_F(FrameworkGdi, EveryGdiOwnerCountsItsObjectAndDeletesIt) {
    HGDIOBJ hBitmap = nullptr;
    HGDIOBJ hBrush = nullptr;
    HGDIOBJ hPen = nullptr;
    HGDIOBJ hFont = nullptr;
    HGDIOBJ hRegion = nullptr;
    {
        CGdiObject<HBITMAP> bitmap(CreateBitmap(4, 4, 1, 32, nullptr));
        CGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
        CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
        CGdiObject<HFONT> font(
            CreateFontW(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
        CGdiObject<HRGN> region(CreateRectRgn(0, 0, 5, 5));
        for (HandleKind kind : {HandleKind::Bitmap, HandleKind::Brush, HandleKind::Pen,
                                HandleKind::Font, HandleKind::Region}) {
            EXPECT_EQ(Grown(kind), 1) << static_cast<int>(kind);
        }
        hBitmap = bitmap.Get();
        hBrush = brush.Get();
        hPen = pen.Get();
        hFont = font.Get();
        hRegion = region.Get();
        EXPECT_TRUE(GdiObjectExists(hBitmap));
        EXPECT_TRUE(GdiObjectExists(hRegion));
    }
    for (HGDIOBJ hObject : {hBitmap, hBrush, hPen, hFont, hRegion}) {
        EXPECT_FALSE(GdiObjectExists(hObject));
    }
    EXPECT_EQ(Grown(HandleKind::Bitmap), 0);
}

TEST_F(FrameworkGdi, EmptyOwnersCountNothing) {
    CGdiObject<HBRUSH> none;
    CGdiObject<HBRUSH> failed(nullptr);
    EXPECT_FALSE(none);
    EXPECT_FALSE(failed);
    EXPECT_EQ(Grown(HandleKind::Brush), 0);
}

TEST_F(FrameworkGdi, MovedOwnersDeleteOnceAndCountOnce) {
    CGdiObject<HBRUSH> first(CreateSolidBrush(RGB(10, 20, 30)));
    const HBRUSH hFirst = first.Get();
    CGdiObject<HBRUSH> moved(std::move(first));
    EXPECT_EQ(first.Get(), nullptr);  // NOLINT(bugprone-use-after-move): the moved-from state
    EXPECT_EQ(moved.Get(), hFirst);
    EXPECT_EQ(Grown(HandleKind::Brush), 1);

    CGdiObject<HBRUSH> second(CreateSolidBrush(RGB(40, 50, 60)));
    const HBRUSH hSecond = second.Get();
    second = std::move(moved);  // deletes the brush `second` held
    EXPECT_FALSE(GdiObjectExists(hSecond));
    EXPECT_TRUE(GdiObjectExists(hFirst));
    EXPECT_EQ(Grown(HandleKind::Brush), 1);

    second.Reset(second.Get());  // same handle: kept, not deleted
    EXPECT_TRUE(GdiObjectExists(hFirst));
    second.Reset();
    EXPECT_FALSE(GdiObjectExists(hFirst));
    EXPECT_EQ(Grown(HandleKind::Brush), 0);
}

TEST_F(FrameworkGdi, ReleasedObjectIsNoLongerOwnedOrCounted) {
    HRGN hRegion = nullptr;
    {
        CGdiObject<HRGN> region(CreateRectRgn(0, 0, 3, 3));
        hRegion = region.Release();
        EXPECT_EQ(Grown(HandleKind::Region), 0);
    }
    EXPECT_TRUE(GdiObjectExists(hRegion));
    DeleteObject(hRegion);
}

TEST_F(FrameworkGdi, IconCursorAndMenuOwnersDestroyTheirHandles) {
    HMENU hMenu = nullptr;
    {
        CIcon icon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
        const BYTE andMask[4 * 4] = {0xFF, 0xFF, 0xFF, 0xFF};
        const BYTE xorMask[4 * 4] = {};
        CCursorHandle cursor(
            CreateCursor(GetModuleHandleW(nullptr), 0, 0, 16, 2, andMask, xorMask));
        CMenuHandle menu = CMenuHandle::CreatePopup();
        ASSERT_TRUE(icon);
        ASSERT_TRUE(cursor);
        ASSERT_TRUE(menu);
        hMenu = menu.Get();
        EXPECT_EQ(Grown(HandleKind::Icon), 1);
        EXPECT_EQ(Grown(HandleKind::Cursor), 1);
        EXPECT_EQ(Grown(HandleKind::Menu), 1);
        EXPECT_TRUE(IsMenu(hMenu));
    }
    EXPECT_FALSE(IsMenu(hMenu));
    EXPECT_EQ(Grown(HandleKind::Icon), 0);
}

TEST_F(FrameworkGdi, MissingResourcesGiveEmptyOwners) {
    EXPECT_FALSE(CIcon::Load(IDD_FW_MISSING, 16, 16));
    EXPECT_FALSE(CMenuHandle::Load(IDD_FW_MISSING));
    EXPECT_EQ(Grown(HandleKind::Icon), 0);
    EXPECT_EQ(Grown(HandleKind::Menu), 0);
}

TEST_F(FrameworkGdi, DeviceContextOwnersGiveTheirDCsBack) {
    HDC hMemDC = nullptr;
    {
        CMemDC memDC(nullptr);
        CClientDC screenDC(nullptr);
        CWindowDC desktopDC(GetDesktopWindow());
        ASSERT_TRUE(memDC);
        ASSERT_TRUE(screenDC);
        ASSERT_TRUE(desktopDC);
        hMemDC = memDC.Get();
        EXPECT_EQ(GetObjectType(hMemDC), static_cast<DWORD>(OBJ_MEMDC));
        EXPECT_EQ(Grown(HandleKind::MemoryDC), 1);
        EXPECT_EQ(Grown(HandleKind::WindowDC), 2);

        CClientDC movedDC(std::move(screenDC));
        EXPECT_FALSE(screenDC);  // NOLINT(bugprone-use-after-move): the moved-from state
        EXPECT_EQ(Grown(HandleKind::WindowDC), 2);
    }
    EXPECT_EQ(GetObjectType(hMemDC), 0u);
    EXPECT_EQ(Grown(HandleKind::WindowDC), 0);
}

TEST_F(FrameworkGdi, SelectionPutsThePreviousObjectBack) {
    CMemDC memDC(nullptr);
    CGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(memDC.Get(), 8, 8));
    CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 3, RGB(200, 0, 0)));
    const HGDIOBJ hOriginalBitmap = GetCurrentObject(memDC.Get(), OBJ_BITMAP);
    const HGDIOBJ hOriginalPen = GetCurrentObject(memDC.Get(), OBJ_PEN);
    {
        CSelectObject selectBitmap(memDC.Get(), bitmap.Get());
        CSelectObject selectPen(memDC.Get(), pen.Get());
        EXPECT_TRUE(selectBitmap.IsSelected());
        EXPECT_EQ(GetCurrentObject(memDC.Get(), OBJ_BITMAP), bitmap.Get());
        EXPECT_EQ(GetCurrentObject(memDC.Get(), OBJ_PEN), pen.Get());
        EXPECT_EQ(Grown(HandleKind::Selection), 2);

        selectBitmap.Restore();  // early, as before reading the bitmap's bits
        EXPECT_EQ(GetCurrentObject(memDC.Get(), OBJ_BITMAP), hOriginalBitmap);
        EXPECT_EQ(Grown(HandleKind::Selection), 1);
    }
    EXPECT_EQ(GetCurrentObject(memDC.Get(), OBJ_BITMAP), hOriginalBitmap);
    EXPECT_EQ(GetCurrentObject(memDC.Get(), OBJ_PEN), hOriginalPen);
    EXPECT_EQ(Grown(HandleKind::Selection), 0);
}

TEST_F(FrameworkGdi, FailedSelectionRestoresNothing) {
    CMemDC memDC(nullptr);
    CGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 1, 1)));
    const HBRUSH hDeleted = brush.Get();
    brush.Reset();
    const HGDIOBJ hOriginalBrush = GetCurrentObject(memDC.Get(), OBJ_BRUSH);
    {
        CSelectObject select(memDC.Get(), hDeleted);
        EXPECT_FALSE(select.IsSelected());
        EXPECT_EQ(Grown(HandleKind::Selection), 0);
    }
    EXPECT_EQ(GetCurrentObject(memDC.Get(), OBJ_BRUSH), hOriginalBrush);
}

TEST_F(FrameworkGdi, SavedStateComesBackAtTheEndOfTheScope) {
    CMemDC memDC(nullptr);
    SetTextColor(memDC.Get(), RGB(1, 2, 3));
    SetBkMode(memDC.Get(), OPAQUE);
    {
        CSaveDC saved(memDC.Get());
        EXPECT_TRUE(saved.IsSaved());
        EXPECT_EQ(Grown(HandleKind::SavedDC), 1);
        SetTextColor(memDC.Get(), RGB(9, 9, 9));
        SetBkMode(memDC.Get(), TRANSPARENT);
    }
    EXPECT_EQ(GetTextColor(memDC.Get()), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(memDC.Get()), OPAQUE);
    EXPECT_EQ(Grown(HandleKind::SavedDC), 0);
}

}  // namespace
