// The picture window of the play tests.
#include "PictureWindow.h"

namespace {

constexpr COLORREF kMarginColour = RGB(90, 100, 110);

}  // namespace

CPictureWindow::CPictureWindow(PixelBuffer picture, POINT ptPicture, int nMargin)
    : m_picture(std::move(picture)), m_nMargin(nMargin) {
    static const ATOM s_atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"TarvikTestPicture";
        return ::RegisterClassW(&wc);
    }();
    m_hWnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, MAKEINTATOM(s_atom), L"Picture", WS_POPUP,
                               ptPicture.x - nMargin, ptPicture.y - nMargin,
                               m_picture.Width() + 2 * nMargin, m_picture.Height() + 2 * nMargin,
                               nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    PumpPendingMessages();
}

CPictureWindow::~CPictureWindow() {
    ::DestroyWindow(m_hWnd);
    PumpPendingMessages();
}

void CPictureWindow::ShowPicture(bool bShow) {
    m_bPictureShown = bShow;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
    PumpPendingMessages();
}

void CPictureWindow::Paint(HDC hDC) const {
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SetBkColor(hDC, kMarginColour);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rcClient, nullptr, 0, nullptr);
    if (!m_bPictureShown) {
        return;
    }
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = m_picture.Width();
    bmi.bmiHeader.biHeight = -m_picture.Height();
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(hDC, m_nMargin, m_nMargin, static_cast<DWORD>(m_picture.Width()),
                        static_cast<DWORD>(m_picture.Height()), 0, 0, 0,
                        static_cast<UINT>(m_picture.Height()), m_picture.Data(), &bmi,
                        DIB_RGB_COLORS);
}

LRESULT CALLBACK CPictureWindow::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_NCCREATE) {
        const auto* pCreate = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pSelf = reinterpret_cast<CPictureWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pSelf == nullptr) {
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    switch (uMsg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC hDC = ::BeginPaint(hWnd, &ps);
            pSelf->Paint(hDC);
            ::EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: {
            POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::ClientToScreen(hWnd, &pt);
            pSelf->m_events.push_back(ButtonEvent{uMsg == WM_LBUTTONDOWN, pt});
            return 0;
        }
        default:
            return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}
