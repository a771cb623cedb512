// CDesktopBlit: the two halves of a screen grab, to be timed apart.
#include "bench/win/DesktopBlit.h"

#include "engine/ScreenGrab.h"
#include "framework/MemDC.h"
#include "framework/SelectObject.h"
#include "framework/WindowDC.h"

#include <cstddef>

CDesktopBlit::CDesktopBlit(int nWidth, int nHeight) : m_nWidth(nWidth), m_nHeight(nHeight) {
    uint32_t* pBits = nullptr;
    m_bmpSurface = CreateTopDownDib32(nWidth, nHeight, pBits);
    m_pBits = pBits;
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
