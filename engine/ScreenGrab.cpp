// The screen grab: BitBlt of the virtual screen into a kept DIB section, then the black-outs.
#include "engine/ScreenGrab.h"

#include "engine/GrabBlackout.h"
#include "engine/MonitorLayout.h"
#include "engine/UncoveredBlackout.h"
#include "framework/MemDC.h"
#include "framework/SelectObject.h"
#include "framework/WindowDC.h"

#include <algorithm>

BITMAPINFO TopDownInfo32(int nWidth, int nHeight) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

CGdiObject<HBITMAP> CreateTopDownDib32(int nWidth, int nHeight, uint32_t*& pBits) {
    const BITMAPINFO bmi = TopDownInfo32(nWidth, nHeight);
    void* pMemory = nullptr;
    CGdiObject<HBITMAP> dib(
        ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pMemory, nullptr, 0));
    pBits = dib ? static_cast<uint32_t*>(pMemory) : nullptr;
    return dib;
}

bool CScreenGrabber::EnsureSurface(int nWidth, int nHeight) {
    if (m_bmpSurface && nWidth == m_nSurfaceWidth && nHeight == m_nSurfaceHeight) {
        return true;
    }
    m_bmpSurface.Reset();
    m_pSurfaceBits = nullptr;
    m_nSurfaceWidth = 0;
    m_nSurfaceHeight = 0;
    uint32_t* pBits = nullptr;
    CGdiObject<HBITMAP> surface = CreateTopDownDib32(nWidth, nHeight, pBits);
    if (!surface || pBits == nullptr) {
        return false;
    }
    m_bmpSurface = std::move(surface);
    m_pSurfaceBits = pBits;
    m_nSurfaceWidth = nWidth;
    m_nSurfaceHeight = nHeight;
    return true;
}

bool CScreenGrabber::Grab(DesktopImage& image, std::span<const Rect> blackout) {
    const Rect rcVirtual = ReadVirtualScreen();
    ReadDesktopLayout(m_layout);
    const int nWidth = rcVirtual.right - rcVirtual.left;
    const int nHeight = rcVirtual.bottom - rcVirtual.top;
    image.origin = Point{rcVirtual.left, rcVirtual.top};
    PixelBuffer& screen = image.pixels;
    if (screen.Width() != nWidth || screen.Height() != nHeight) {
        screen = PixelBuffer(nWidth, nHeight);
    }
    const auto failed = [&] {
        std::fill(screen.Data(),
                  screen.Data() +
                      static_cast<size_t>(screen.Width()) * static_cast<size_t>(screen.Height()),
                  0u);
        return false;
    };
    if (nWidth < 1 || nHeight < 1 || !EnsureSurface(nWidth, nHeight)) {
        return failed();
    }
    {
        // The screen DC's (0, 0) is the primary monitor's top-left, the desktop's origin, so the
        // virtual screen starts at its (possibly negative) top-left there.
        const CClientDC screenDC(nullptr);
        if (!screenDC) {
            return failed();
        }
        const CMemDC memDC(screenDC.Get());
        if (!memDC) {
            return failed();
        }
        CSelectObject select(memDC.Get(), m_bmpSurface.Get());
        if (!select.IsSelected() || !::BitBlt(memDC.Get(), 0, 0, nWidth, nHeight, screenDC.Get(),
                                              rcVirtual.left, rcVirtual.top, SRCCOPY)) {
            return failed();
        }
    }
    // GDI may still be writing to the DIB's memory.
    ::GdiFlush();
    CopyPixelsClearingFourthByte(m_pSurfaceBits, screen);
    BlackOutUncovered(image, m_layout);
    for (const Rect& rc : blackout) {
        const Rect rcImage = DesktopToImage(rc, image.origin);
        BlackOut(screen, std::span<const Rect>(&rcImage, 1));
    }
    return true;
}
