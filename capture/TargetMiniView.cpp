// The tile of one target: its area picture and its name.
#include "capture/TargetMiniView.h"

#include "framework/PaintDC.h"
#include "framework/WideText.h"
#include "model/TargetObj.h"
#include "ui/PanelGeometry.h"

namespace {

constexpr wchar_t kTileClass[] = L"TarvikTargetTile";

void DrawPicture(HDC hDC, const PixelBuffer& pixels, const RECT& rcDest) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixels.Width();
    info.bmiHeader.biHeight = -pixels.Height();  // rows are stored top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(hDC, COLORONCOLOR);
    ::StretchDIBits(hDC, rcDest.left, rcDest.top, rcDest.right - rcDest.left,
                    rcDest.bottom - rcDest.top, 0, 0, pixels.Width(), pixels.Height(),
                    pixels.Data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

bool CTargetMiniView::CreateTile(HWND hListView, int x, int y) {
    CWindowClassInfo cls;
    cls.pszName = kTileClass;
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    const RECT rc{x, y, x + kTileWidth, y + kTileHeight};
    return Create(cls, 0, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, rc, hListView);
}

LRESULT CTargetMiniView::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    const RECT rcClient = GetClientRect();
    const PixelBuffer* pArea = m_target.m_bmpArea.Pixels();
    const PixelBuffer* pTarget = m_target.m_bmpTarget.Pixels();
    const PixelBuffer* pShown = pArea != nullptr && !pArea->IsEmpty() ? pArea : pTarget;
    RECT rcPicture{2, 2, 2 + 44, 2 + 44};
    if (pShown != nullptr && !pShown->IsEmpty()) {
        DrawPicture(dc.Get(), *pShown, rcPicture);
    }
    RECT rcText{rcPicture.right + 4, 2, rcClient.right - 2, rcClient.bottom - 2};
    const std::wstring strLabel =
        std::to_wstring(m_target.m_nOrder + 1) + L". " + ToWide(m_target.m_strName);
    ::SetBkMode(dc.Get(), TRANSPARENT);
    ::DrawTextW(dc.Get(), strLabel.c_str(), -1, &rcText, DT_WORDBREAK | DT_END_ELLIPSIS);
    return 0;
}
