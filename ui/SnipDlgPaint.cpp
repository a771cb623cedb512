// The panel's skin: frame, separators and title, and the move and resize by mouse.
#include "framework/GdiObject.h"
#include "framework/MemDC.h"
#include "framework/PaintDC.h"
#include "framework/SelectObject.h"
#include "ui/PanelGeometry.h"
#include "ui/PanelSkin.h"
#include "ui/SnipDlg.h"

#include <windowsx.h>

namespace {

COLORREF ColourRef(uint32_t nRgb) {
    return RGB((nRgb >> 16) & 0xFF, (nRgb >> 8) & 0xFF, nRgb & 0xFF);
}

PanelMouseInput MouseInput(const CWnd& wnd, WPARAM wParam, LPARAM lParam) {
    PanelMouseInput input;
    input.x = GET_X_LPARAM(lParam);
    input.y = GET_Y_LPARAM(lParam);
    input.bLeftDown = (wParam & MK_LBUTTON) != 0;
    input.nClientHeight = wnd.GetClientRect().bottom;
    const RECT rcWindow = wnd.GetWindowRect();
    const POINT ptTopLeft = wnd.ScreenToClient(POINT{rcWindow.left, rcWindow.top});
    const POINT ptBottomRight = wnd.ScreenToClient(POINT{rcWindow.right, rcWindow.bottom});
    input.rcWindowInClient = Rect{ptTopLeft.x, ptTopLeft.y, ptBottomRight.x, ptBottomRight.y};
    return input;
}

}  // namespace

LRESULT CSnipDlg::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    const RECT rcClient = GetClientRect();
    if (::IsIconic(m_hWnd)) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()));
        const int x = (rcClient.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (rcClient.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc.Get(), x, y, m_hIconBig);
        return 0;
    }
    PaintPanel(dc.Get(), rcClient);
    return 0;
}

void CSnipDlg::PaintPanel(HDC hDC, const RECT& rcClient) {
    const std::vector<PanelSkinBar> bars = PanelSkinBars(rcClient.right, rcClient.bottom, m_scale);
    const auto fill = [hDC](const PanelSkinBar& bar) {
        const CGdiObject<HBRUSH> brush(::CreateSolidBrush(ColourRef(bar.colour)));
        const RECT rc{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom};
        ::FillRect(hDC, &rc, brush.Get());
    };
    for (std::size_t i = 0; i < kPanelSkinBarsBeforeTitle && i < bars.size(); ++i) {
        fill(bars[i]);
    }

    if (m_hTitleBitmap) {
        // SRCAND: the white of the title leaves the background as it is.
        const Rect rcImage = PanelTitleRect(CDpiScale());
        const Rect rcTitle = PanelTitleRect(m_scale);
        const CMemDC memDC(hDC);
        const CSelectObject selectTitle(memDC.Get(), m_hTitleBitmap.Get());
        if (m_scale.IsIdentity()) {
            ::BitBlt(hDC, rcTitle.left, rcTitle.top, rcImage.right - rcImage.left,
                     rcImage.bottom - rcImage.top, memDC.Get(), 0, 0, SRCAND);
        } else {
            // Smoothed: a title scaled by 125 % or 150 % would lose strokes pixel by pixel.
            const int nOldMode = ::SetStretchBltMode(hDC, HALFTONE);
            ::SetBrushOrgEx(hDC, 0, 0, nullptr);
            ::StretchBlt(hDC, rcTitle.left, rcTitle.top, rcTitle.right - rcTitle.left,
                         rcTitle.bottom - rcTitle.top, memDC.Get(), 0, 0,
                         rcImage.right - rcImage.left, rcImage.bottom - rcImage.top, SRCAND);
            ::SetStretchBltMode(hDC, nOldMode);
        }
    }

    for (std::size_t i = kPanelSkinBarsBeforeTitle; i < bars.size(); ++i) {
        fill(bars[i]);
    }
}

void CSnipDlg::ApplyMouseActions(const PanelMouseActions& actions, POINT ptClient) {
    if (actions.bCapture) {
        ::SetCapture(m_hWnd);
    }
    if (actions.nNewHeight) {
        SetWindowPos(nullptr, 0, 0, m_scale.Scale(kPanelWidth), *actions.nNewHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (actions.nInvalidTop && actions.nInvalidBottom) {
        const RECT rcClient = GetClientRect();
        InvalidateRect(
            RECT{rcClient.left, *actions.nInvalidTop, rcClient.right, *actions.nInvalidBottom},
            true);
    }
    if (actions.ptMoveOffset) {
        const POINT ptScreen = ClientToScreen(ptClient);
        SetWindowPos(nullptr, ptScreen.x - actions.ptMoveOffset->x,
                     ptScreen.y - actions.ptMoveOffset->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (actions.bReleaseCapture) {
        ::ReleaseCapture();
    }
    if (actions.cursor == PanelCursor::SizeNS) {
        ::SetCursor(m_hCurSizeNS);
    } else if (actions.cursor == PanelCursor::Arrow) {
        ::SetCursor(m_hCurArrow);
    }
}

LRESULT CSnipDlg::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    const PanelMouseInput input = MouseInput(*this, wParam, lParam);
    ApplyMouseActions(m_dragTracker.OnLeftButtonDown(input), POINT{input.x, input.y});
    return Default();
}

LRESULT CSnipDlg::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const PanelMouseInput input = MouseInput(*this, wParam, lParam);
    ApplyMouseActions(m_dragTracker.OnMouseMove(input), POINT{input.x, input.y});
    return Default();
}

LRESULT CSnipDlg::OnLButtonUp(WPARAM, LPARAM lParam) {
    ApplyMouseActions(m_dragTracker.OnLeftButtonUp(),
                      POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return Default();
}
