// The sight marker: a topmost window, 64 x 64 at 96 DPI, painted with the sight picture.
#include "engine/SightWnd.h"

#include "engine/BitmapHandle.h"
#include "engine/PictureScale.h"
#include "engine/ScreenGrab.h"
#include "engine/WindowDpi.h"
#include "framework/GdiObject.h"
#include "framework/PaintDC.h"

#include "resource.h"

#include <cstdint>

namespace {

constexpr int kSightSize = 64;
constexpr int kSightCentre = 32;

}  // namespace

CSightWnd::CSightWnd() : CDialogImpl<CSightWnd>(IDD_SIGHT) {}

BOOL CSightWnd::OnInitDialog() {
    CDialogEx::OnInitDialog();
    const CGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SIGHT), IMAGE_BITMAP, 0, 0, 0)));
    if (!bitmap || !ReadBitmapPixels(bitmap.Get(), m_sightBase)) {
        m_sightBase = PixelBuffer();
    }
    ApplyScale(WindowScale(m_hWnd));
    // FALSE: the dialog manager would otherwise give the focus to the dialog itself, having no
    // control to give it to, and so make the hidden marker the active window.
    return FALSE;
}

void CSightWnd::ApplyScale(const CDpiScale& scale) {
    m_scale = scale;
    const int nSize = scale.Scale(kSightSize);
    // Blocks at whole factors keep the ring's edge sharp, and so the region cut from it.
    m_sight = ScalePicture(m_sightBase, nSize, nSize);
    SetWindowPos(HWND_TOPMOST, 0, 0, nSize, nSize, SWP_NOMOVE | SWP_NOACTIVATE);
    // Without a region the marker stays a plain square, which still marks the point.
    CGdiObject<HRGN> region =
        m_sight.IsEmpty() ? CGdiObject<HRGN>() : CreateRegionFromPicture(m_sight);
    if (region && ::SetWindowRgn(m_hWnd, region.Get(), TRUE) != 0) {
        // The window owns the region from now on and deletes it itself.
        static_cast<void>(region.Release());
    }
}

void CSightWnd::MoveToCentre(UINT uFlags) {
    // A click point from a stored click shift may lie at the int32 limits.
    const int nCentre = m_scale.Scale(kSightCentre);
    SetWindowPos(HWND_TOPMOST, ClampToInt32(int64_t{m_ptCentre.x} - nCentre),
                 ClampToInt32(int64_t{m_ptCentre.y} - nCentre), 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | uFlags);
}

int CSightWnd::PlaceAndShow(int x, int y) {
    m_ptCentre = Point{x, y};
    if (const CDpiScale scale = WindowScale(m_hWnd); scale != m_scale) {
        ApplyScale(scale);
    }
    // Shown without activation: an activated window takes the focus from the game (or the
    // Target Editor), and under Wine it becomes a window the window manager frames, whose frame
    // the region does not cut: an opaque black square around the cross-hair.
    const int nSize = m_scale.Scale(kSightSize);
    InvalidateRect(RECT{0, 0, nSize, nSize}, true);
    MoveToCentre(SWP_SHOWWINDOW);
    // Painted now, not when the message loop comes round to it: until then the window shows
    // whatever its surface held, black on a composited desktop.
    UpdateWindow();
    return 1;
}

void CSightWnd::OnDpiChanged(UINT nDpi, const RECT&) {
    ApplyScale(CDpiScale(static_cast<int>(nDpi)));
    MoveToCentre(0);
    Invalidate(true);
}

LRESULT CSightWnd::OnMouseActivate(WPARAM, LPARAM) {
    return MA_NOACTIVATE;
}

LRESULT CSightWnd::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    if (m_sight.IsEmpty()) {
        return 0;
    }
    // Client (-1, -1) is the window's (0, 0): the picture lines up with the window, border
    // included.
    const BITMAPINFO info = TopDownInfo32(m_sight.Width(), m_sight.Height());
    ::SetDIBitsToDevice(dc.Get(), -1, -1, static_cast<DWORD>(m_sight.Width()),
                        static_cast<DWORD>(m_sight.Height()), 0, 0, 0,
                        static_cast<UINT>(m_sight.Height()), m_sight.Data(), &info, DIB_RGB_COLORS);
    return 0;
}

LRESULT CSightWnd::OnEraseBkgnd(WPARAM, LPARAM) {
    return 1;
}
