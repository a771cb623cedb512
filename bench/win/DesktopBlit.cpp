// CDesktopBlit: the two halves of a screen grab, to be timed apart.
#include "bench/win/DesktopBlit.h"

#include "framework/MemDC.h"
#include "framework/SelectObject.h"
#include "framework/WindowDC.h"

#include <cstddef>

CDesktopBlit::CDesktopBlit(int nWidth, int nHeight) : m_nWidth(nWidth), m_nHeight(nHeight) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_bmpSurface.Reset(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (m_bmpSurface) {
        m_pBits = static_cast<const uint32_t*>(pBits);
    }
}

bool CDesktopBlit::Blit() {
    if (!m_bmpSurface) {
        return false;
    }
    const CWindowDC desktopDC(::GetDesktopWindow());
    if (!desktopDC) {
        return false;
    }
    const CMemDC memDC(desktopDC.Get());
    if (!memDC) {
        return false;
    }
    CSelectObject select(memDC.Get(), m_bmpSurface.Get());
    if (!select.IsSelected() ||
        !::BitBlt(memDC.Get(), 0, 0, m_nWidth, m_nHeight, desktopDC.Get(), 0, 0, SRCCOPY)) {
        return false;
    }
    ::GdiFlush();
    return true;
}

void CDesktopBlit::CopyMasked(PixelBuffer& screen) const {
    if (screen.Width() != m_nWidth || screen.Height() != m_nHeight) {
        screen = PixelBuffer(m_nWidth, m_nHeight);
    }
    // The copy CScreenGrabber::Grab makes.
    CopyPixelsClearingFourthByte(m_pBits, screen);
}
