// CDesktopBlit: the two halves of a screen grab, to be timed apart.
#include "bench/win/DesktopBlit.h"

#include "engine/ScreenGrab.h"
#include "framework/MemDC.h"
#include "framework/SelectObject.h"
#include "framework/WindowDC.h"

#include <cstddef>

CDesktopBlit::CDesktopBlit(const Rect& rcVirtual)
    : m_ptOrigin{rcVirtual.left, rcVirtual.top},
      m_nWidth(rcVirtual.right - rcVirtual.left),
      m_nHeight(rcVirtual.bottom - rcVirtual.top) {
    uint32_t* pBits = nullptr;
    m_bmpSurface = CreateTopDownDib32(m_nWidth, m_nHeight, pBits);
    m_pBits = pBits;
}

bool CDesktopBlit::Blit() {
    if (!m_bmpSurface) {
        return false;
    }
    const CClientDC desktopDC(nullptr);
    if (!desktopDC) {
        return false;
    }
    const CMemDC memDC(desktopDC.Get());
    if (!memDC) {
        return false;
    }
    CSelectObject select(memDC.Get(), m_bmpSurface.Get());
    if (!select.IsSelected() || !::BitBlt(memDC.Get(), 0, 0, m_nWidth, m_nHeight, desktopDC.Get(),
                                          m_ptOrigin.x, m_ptOrigin.y, SRCCOPY)) {
        return false;
    }
    ::GdiFlush();
    return true;
}

void CDesktopBlit::CopyMasked(PixelBuffer& screen) const {
    if (screen.Width() != m_nWidth || screen.Height() != m_nHeight) {
        screen = PixelBuffer(m_nWidth, m_nHeight);
    }
    // The copy CScreenGrabber::Grab makes (its black-out of places no monitor covers is left out:
    // on one monitor, or on monitors filling their bounding box, it changes nothing).
    CopyPixelsClearingFourthByte(m_pBits, screen);
}
