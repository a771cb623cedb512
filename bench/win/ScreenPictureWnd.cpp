// CScreenPictureWnd: shows a picture over the whole virtual screen.
#include "bench/win/ScreenPictureWnd.h"

#include "framework/PaintDC.h"

bool CScreenPictureWnd::Show() {
    const CWindowClassInfo cls{L"TarvikBenchScreenPicture", 0, nullptr, nullptr, nullptr, nullptr};
    // A tool window stays off the taskbar; without a caption it is not managed under Wine.
    if (!Create(cls, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Tarvik play bench screen", WS_POPUP,
                RECT{m_ptOrigin.x, m_ptOrigin.y, m_ptOrigin.x + m_picture.Width(),
                     m_ptOrigin.y + m_picture.Height()},
                nullptr)) {
        return false;
    }
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    PumpMessages();
    return true;
}

LRESULT CScreenPictureWnd::OnPaint(WPARAM, LPARAM) {
    const CPaintDC dc(m_hWnd);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = m_picture.Width();
    bmi.bmiHeader.biHeight = -m_picture.Height();  // top-down rows, as the picture holds them
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc.Get(), 0, 0, static_cast<DWORD>(m_picture.Width()),
                        static_cast<DWORD>(m_picture.Height()), 0, 0, 0,
                        static_cast<UINT>(m_picture.Height()), m_picture.Data(), &bmi,
                        DIB_RGB_COLORS);
    return 0;
}

LRESULT CScreenPictureWnd::OnEraseBackground(WPARAM, LPARAM) {
    return 1;  // the picture covers every pixel
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
