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
    // FALSE: the dialog manager would otherwise give the focus to the dialog itself, having no
    // control to give it to, and so make the hidden marker the active window.
    return FALSE;
}

int CSightWnd::PlaceAndShow(int x, int y) {
    // Shown without activation: an activated window takes the focus from the game (or the
    // Target Editor), and under Wine it becomes a window the window manager frames, whose frame
    // the region does not cut: an opaque black square around the cross-hair.
    InvalidateRect(RECT{0, 0, kSightSize, kSightSize}, true);
    // A click point from a stored click shift may lie at the int32 limits.
    SetWindowPos(HWND_TOPMOST, ClampToInt32(int64_t{x} - kSightCentre),
                 ClampToInt32(int64_t{y} - kSightCentre), 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Painted now, not when the message loop comes round to it: until then the window shows
    // whatever its surface held, black on a composited desktop.
    UpdateWindow();
    return 1;
}

LRESULT CSightWnd::OnMouseActivate(WPARAM, LPARAM) {
    return MA_NOACTIVATE;
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
