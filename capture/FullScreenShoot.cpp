// The selection overlay: grab, dim, show, follow the drag and cut the results.
#include "capture/FullScreenShoot.h"

#include "capture/DragRepaint.h"
#include "capture/Selection.h"
#include "engine/BitmapHandle.h"
#include "engine/Dimming.h"
#include "engine/MonitorLayout.h"
#include "engine/ScreenGrab.h"
#include "engine/SyntheticInput.h"
#include "framework/MemDC.h"
#include "framework/PaintDC.h"
#include "framework/SaveDC.h"
#include "framework/SelectObject.h"
#include "framework/WindowDC.h"

#include "FullScreenShootRes.h"
#include "resource.h"

namespace {

Point PointFromLParam(LPARAM lParam) {
    // Client coordinates are signed 16-bit values.
    return Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

CGdiObject<HBITMAP> CopyAsDibSection(const CGdiObject<HBITMAP>& bitmap) {
    return CGdiObject<HBITMAP>(
        static_cast<HBITMAP>(::CopyImage(bitmap.Get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// Writes top-down 32-bit `pixels` into `hBitmap` (not selected anywhere), converting to its depth.
bool WritePixels(HBITMAP hBitmap, const PixelBuffer& pixels) {
    const BITMAPINFO bmi = TopDownInfo32(pixels.Width(), pixels.Height());
    CClientDC screenDC(nullptr);
    return ::SetDIBits(screenDC.Get(), hBitmap, 0, static_cast<UINT>(pixels.Height()),
                       pixels.Data(), &bmi, DIB_RGB_COLORS) == pixels.Height();
}

}  // namespace

CFullScreenShoot::CFullScreenShoot(bool bMetroMode)
    : CDialogImpl<CFullScreenShoot>(IDD_FULL_SCREEN_SHOOT),
      m_bMetroMode(bMetroMode),
      m_hCrosshair(::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_CROSSHAIR))) {}

BOOL CFullScreenShoot::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_ptOrigin =
        Point{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN)};
    m_nScreenWidth = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    m_nScreenHeight = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    SetWindowPos(HWND_TOPMOST, m_ptOrigin.x, m_ptOrigin.y, m_nScreenWidth, m_nScreenHeight, 0);
    m_bSelecting = 0;
    // Not shown yet: the grab sees the screen as the user left it.
    GrabScreen();
    return TRUE;
}

void CFullScreenShoot::GrabScreen() {
    // The screen's DC works in desktop pixels over every monitor.
    CClientDC screenDC(nullptr);
    if (!screenDC || m_nScreenWidth < 1 || m_nScreenHeight < 1) {
        return;
    }
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = m_nScreenWidth;
    bmi.bmiHeader.biHeight = -m_nScreenHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = static_cast<WORD>(::GetDeviceCaps(screenDC.Get(), BITSPIXEL));
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    CGdiObject<HBITMAP> grab(
        ::CreateDIBSection(screenDC.Get(), &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!grab) {
        return;
    }
    const Rect rcPicture{m_ptOrigin.x, m_ptOrigin.y, m_ptOrigin.x + m_nScreenWidth,
                         m_ptOrigin.y + m_nScreenHeight};
    const std::vector<Rect> pieces = MonitorPiecesOf(rcPicture, ReadDesktopLayout());
    {
        CMemDC memDC(screenDC.Get());
        CSaveDC saved(memDC.Get());
        CSelectObject select(memDC.Get(), grab.Get());
        if (!memDC || !select.IsSelected()) {
            return;
        }
        // Where no monitor is, the screen's DC may hold anything; the picture shows black there.
        const Rect rcWhole{0, 0, m_nScreenWidth, m_nScreenHeight};
        if (pieces.size() != 1 || pieces.front() != rcWhole) {
            ::PatBlt(memDC.Get(), 0, 0, m_nScreenWidth, m_nScreenHeight, BLACKNESS);
        }
        for (const Rect& rc : pieces) {
            const Point ptDesktop = ImageToDesktop(Point{rc.left, rc.top}, m_ptOrigin);
            if (!::BitBlt(memDC.Get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                          screenDC.Get(), ptDesktop.x, ptDesktop.y, SRCCOPY)) {
                return;
            }
        }
    }
    m_hScreenGrab = std::move(grab);
}

LRESULT CFullScreenShoot::OnShowWindow(WPARAM wParam, LPARAM) {
    const LRESULT lResult = Default();
    if (wParam != FALSE && !m_bFramesPrepared) {
        m_bFramesPrepared = true;
        PrepareFrames();
        if (m_bMetroMode) {
            SetTimer(IDT_METRO_SWITCH, kMetroSwitchMs);
        }
    }
    return lResult;
}

void CFullScreenShoot::PrepareFrames() {
    if (!m_hScreenGrab) {
        return;
    }
    CGdiObject<HBITMAP> dimmed = CopyAsDibSection(m_hScreenGrab);
    CGdiObject<HBITMAP> composite = CopyAsDibSection(m_hScreenGrab);
    PixelBuffer pixels;
    if (!dimmed || !composite || !ReadBitmapPixels(dimmed.Get(), pixels)) {
        return;
    }
    // One pass over a 32-bit copy; the drag then only copies blocks of prepared pictures.
    DimPixels(pixels);
    if (!WritePixels(dimmed.Get(), pixels) || !WritePixels(composite.Get(), pixels)) {
        return;
    }
    // The grab itself stays untouched from here on: one copy of the whole desktop fewer to make
    // and to hold, which counts on a desktop of several monitors.
    m_hBright = std::move(m_hScreenGrab);
    m_hDimmed = std::move(dimmed);
    m_hComposite = std::move(composite);
    m_rcShown = Rect{};
    Invalidate(false);
}

LRESULT CFullScreenShoot::OnEraseBkgnd(WPARAM, LPARAM) {
    // The frame covers everything; erasing first would flash the dialog's grey.
    return 1;
}

LRESULT CFullScreenShoot::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    if (!m_hBright || !m_hComposite) {
        return 0;
    }
    CMemDC memDC(dc.Get());
    CSelectObject select(memDC.Get(), m_hComposite.Get());
    // Only what was invalidated: during a drag that is the old and new selection's bounds.
    const RECT& rc = dc.PaintRect();
    ::BitBlt(dc.Get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, memDC.Get(),
             rc.left, rc.top, SRCCOPY);
    return 0;
}

LRESULT CFullScreenShoot::OnSetCursor(WPARAM, LPARAM) {
    ::SetCursor(m_hCrosshair);
    return TRUE;
}

LRESULT CFullScreenShoot::OnLButtonDown(WPARAM, LPARAM lParam) {
    const Point pt = PointFromLParam(lParam);
    m_rcDragged.left = pt.x;
    m_rcDragged.top = pt.y;
    m_bSelecting = 1;
    return 0;
}

LRESULT CFullScreenShoot::OnMouseMove(WPARAM, LPARAM lParam) {
    if (m_bSelecting == 0) {
        return 0;
    }
    const Point pt = PointFromLParam(lParam);
    m_rcDragged.right = pt.x;
    m_rcDragged.bottom = pt.y;
    ShowSelection(NormaliseRect(m_rcDragged));
    return 0;
}

void CFullScreenShoot::ShowSelection(const Rect& rcSelection) {
    if (!m_hBright || !m_hDimmed || !m_hComposite) {
        return;
    }
    const DragRepaint plan =
        PlanDragRepaint(m_rcShown, rcSelection, m_nScreenWidth, m_nScreenHeight);
    {
        CMemDC compositeDC(nullptr);
        CMemDC sourceDC(nullptr);
        CSelectObject selectComposite(compositeDC.Get(), m_hComposite.Get());
        const auto copyPieces = [&](HBITMAP hSource, const RectPieces& pieces) {
            CSelectObject selectSource(sourceDC.Get(), hSource);
            for (const Rect& rc : pieces.Span()) {
                ::BitBlt(compositeDC.Get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                         sourceDC.Get(), rc.left, rc.top, SRCCOPY);
            }
        };
        copyPieces(m_hDimmed.Get(), plan.restoreDimmed);
        copyPieces(m_hBright.Get(), plan.copyBright);
    }
    m_rcShown = rcSelection;
    if (!IsEmptyRect(plan.rcInvalidate)) {
        const Rect& rc = plan.rcInvalidate;
        InvalidateRect(RECT{rc.left, rc.top, rc.right, rc.bottom}, false);
    }
}

LRESULT CFullScreenShoot::OnLButtonUp(WPARAM, LPARAM lParam) {
    // A release whose press did not come to the overlay (it went to the window below before the
    // overlay showed) selects nothing.
    if (m_bSelecting == 0) {
        return 0;
    }
    const Point pt = PointFromLParam(lParam);
    m_rcDragged.right = pt.x;
    m_rcDragged.bottom = pt.y;
    const Selection selection = FinishSelection(m_rcDragged);
    m_rcTarget = ImageToDesktop(selection.rcTarget, m_ptOrigin);
    m_rcArea = ImageToDesktop(selection.rcArea, m_ptOrigin);
    m_bSelecting = 0;
    CutResults();
    Invalidate(false);
    EndDialog(IDOK);
    return 0;
}

void CFullScreenShoot::CutResults() {
    PixelBuffer screen;
    if (!m_hBright || !ReadBitmapPixels(m_hBright.Get(), screen)) {
        // Without a frozen screen there is nothing to cut: the results stay empty.
        return;
    }
    m_bmpTarget = CutPicture(screen, DesktopToImage(m_rcTarget, m_ptOrigin));
    m_bmpArea = CutPicture(screen, DesktopToImage(m_rcArea, m_ptOrigin));
}

LRESULT CFullScreenShoot::OnRButtonUp(WPARAM, LPARAM) {
    m_bSelecting = 0;
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CFullScreenShoot::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == IDT_METRO_SWITCH) {
        KillTimer(IDT_METRO_SWITCH);
        SendWinTabQuick();
    }
    return 0;
}

LRESULT CFullScreenShoot::OnDestroy(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    KillTimer(IDT_METRO_SWITCH);
    m_hScreenGrab.Reset();
    m_hBright.Reset();
    m_hDimmed.Reset();
    m_hComposite.Reset();
    return lResult;
}
