// The sight marker: a 64 x 64 topmost window painted with the sight picture.
#include "engine/SightWnd.h"

#include "engine/BitmapHandle.h"
#include "engine/PixelBuffer.h"
#include "framework/MemDC.h"
#include "framework/PaintDC.h"
#include "framework/SelectObject.h"

#include "resource.h"

#include <cstdint>

namespace {

constexpr int kSightSize = 64;
constexpr int kSightCentre = 32;

}  // namespace

CSightWnd::CSightWnd() : CDialogImpl<CSightWnd>(IDD_SIGHT) {}

BOOL CSightWnd::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_bmpSight = CGdiObject<HBITMAP>(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SIGHT), IMAGE_BITMAP, 0, 0, 0)));
    SetWindowPos(HWND_TOPMOST, 0, 0, kSightSize, kSightSize, SWP_NOMOVE | SWP_NOACTIVATE);
    // Without a region the marker stays a plain square, which still marks the point.
    CGdiObject<HRGN> region = CreateRegionFromBitmap();
    if (region && ::SetWindowRgn(m_hWnd, region.Get(), TRUE) != 0) {
        // The window owns the region from now on and deletes it itself.
        static_cast<void>(region.Release());
    }
    return TRUE;
}

int CSightWnd::PlaceAndShow(int x, int y) {
    // A click point from a stored click shift may lie at the int32 limits.
    SetWindowPos(HWND_TOPMOST, ClampToInt32(int64_t{x} - kSightCentre),
                 ClampToInt32(int64_t{y} - kSightCentre), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(SW_SHOW);
    InvalidateRect(RECT{0, 0, kSightSize, kSightSize}, true);
    return 1;
}

LRESULT CSightWnd::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    if (!m_bmpSight) {
        return 0;
    }
    ::SetBkMode(dc.Get(), TRANSPARENT);
    CMemDC memDC(dc.Get());
    CSelectObject select(memDC.Get(), m_bmpSight.Get());
    // Client (-1, -1) is the window's (0, 0): the picture lines up with the window, border
    // included.
    ::BitBlt(dc.Get(), -1, -1, kSightSize, kSightSize, memDC.Get(), 0, 0, SRCCOPY);
    return 0;
}

LRESULT CSightWnd::OnEraseBkgnd(WPARAM, LPARAM) {
    return 1;
}
