// The panel's skin: frame, separators and title, and the move and resize by mouse.
#include "framework/GdiObject.h"
#include "framework/MemDC.h"
#include "framework/PaintDC.h"
#include "framework/SelectObject.h"
#include "ui/PanelGeometry.h"
#include "ui/SnipDlg.h"

#include <windowsx.h>

namespace {

constexpr int kTitleWidth = 78;
constexpr int kTitleHeight = 18;

CGdiObject<HPEN> MakePen(COLORREF colour) {
    return CGdiObject<HPEN>(::CreatePen(PS_SOLID, 1, colour));
}

void Line(HDC hDC, HPEN hPen, int x1, int y1, int x2, int y2) {
    ::SelectObject(hDC, hPen);
    ::MoveToEx(hDC, x1, y1, nullptr);
    ::LineTo(hDC, x2, y2);
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
    const int W = rcClient.right;
    const int H = rcClient.bottom;
    // The pens go after the selection below has put the original pen back.
    const CGdiObject<HPEN> lightSeparator = MakePen(RGB(0xCC, 0xCC, 0xCC));
    const CGdiObject<HPEN> darkSeparator = MakePen(RGB(0xB9, 0xB9, 0xB9));
    const CGdiObject<HPEN> outerHighlight = MakePen(RGB(0xE3, 0xE3, 0xE3));
    const CGdiObject<HPEN> innerHighlight = MakePen(RGB(0xFF, 0xFF, 0xFF));
    const CGdiObject<HPEN> outerShadow = MakePen(RGB(0x69, 0x69, 0x69));
    const CGdiObject<HPEN> innerShadow = MakePen(RGB(0xA0, 0xA0, 0xA0));
    const CSelectObject keepOriginalPen(hDC, lightSeparator.Get());

    Line(hDC, lightSeparator.Get(), 3, 25, 127, 25);
    Line(hDC, lightSeparator.Get(), 3, 97, 127, 97);
    Line(hDC, lightSeparator.Get(), 3, H - 6, 127, H - 6);
    Line(hDC, darkSeparator.Get(), 3, 26, 127, 26);
    Line(hDC, darkSeparator.Get(), 3, H - 5, 127, H - 5);
    Line(hDC, outerHighlight.Get(), 0, 0, W - 1, 0);
    Line(hDC, outerHighlight.Get(), 0, 0, 0, H - 1);
    Line(hDC, innerHighlight.Get(), 1, 1, W - 2, 1);
    Line(hDC, innerHighlight.Get(), 1, 1, 1, H - 2);
    Line(hDC, outerShadow.Get(), W - 1, 0, W - 1, H - 1);
    ::LineTo(hDC, 0, H - 1);
    Line(hDC, innerShadow.Get(), W - 2, 1, W - 2, H - 2);
    ::LineTo(hDC, 1, H - 2);

    if (m_hTitleBitmap) {
        // SRCAND: the white of the title leaves the background as it is.
        const CMemDC memDC(hDC);
        const CSelectObject selectTitle(memDC.Get(), m_hTitleBitmap.Get());
        ::BitBlt(hDC, 3, 5, kTitleWidth, kTitleHeight, memDC.Get(), 0, 0, SRCAND);
    }

    Line(hDC, lightSeparator.Get(), 3, 102, 126, 102);
    Line(hDC, lightSeparator.Get(), 3, H - 10, 126, H - 10);
}

void CSnipDlg::ApplyMouseActions(const PanelMouseActions& actions, POINT ptClient) {
    if (actions.bCapture) {
        ::SetCapture(m_hWnd);
    }
    if (actions.nNewHeight) {
        SetWindowPos(nullptr, 0, 0, kPanelWidth, *actions.nNewHeight,
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
