// CScreenGrabber: copies the whole virtual screen into a DesktopImage (the Win32 half of the grab).
#pragma once

#include "engine/DesktopCoords.h"
#include "engine/PixelBuffer.h"
#include "framework/GdiObject.h"

#include <windows.h>

#include <span>

// The header of a 32-bit top-down picture of nWidth x nHeight pixels in PixelBuffer layout, for
// CreateDIBSection, SetDIBits and SetDIBitsToDevice.
BITMAPINFO TopDownInfo32(int nWidth, int nHeight);

// A 32-bit top-down DIB section of nWidth x nHeight pixels; its rows have no padding, so its
// memory (put in `pBits`) is a picture in PixelBuffer layout. Null (and pBits null) on failure.
CGdiObject<HBITMAP> CreateTopDownDib32(int nWidth, int nHeight, uint32_t*& pBits);

// Keeps one 32-bit top-down DIB section of the virtual screen's size between grabs, so that a play
// tick does not allocate a screen-sized bitmap every time; it is made anew when the size changes.
// The monitor layout is read afresh on every grab (a monitor may be switched off while the
// program plays) into storage kept here. Not copyable.
class CScreenGrabber {
public:
    CScreenGrabber() = default;
    CScreenGrabber(const CScreenGrabber&) = delete;
    CScreenGrabber& operator=(const CScreenGrabber&) = delete;

    // Copies the virtual screen (SM_XVIRTUALSCREEN ... SM_CYVIRTUALSCREEN, every monitor's
    // bounding box) from the screen DC into `screen.pixels`: top-down rows, bytes B, G, R, 0 (the
    // fourth byte is always 0), and sets `screen.origin` to its top-left in desktop pixels. Places
    // no monitor covers are black (BlackOutUncovered). Then sets the pixels of `blackout`
    // (desktop rectangles, clipped to the picture) to 0. The picture is resized when its size
    // differs; a desktop of any size is grabbed whole. Returns false when a system call fails;
    // the picture is then W x H black (empty if the screen has no size).
    bool Grab(DesktopImage& screen, std::span<const Rect> blackout = {});

    // The monitors the last grab saw.
    const DesktopLayout& Layout() const { return m_layout; }

private:
    bool EnsureSurface(int nWidth, int nHeight);

    CGdiObject<HBITMAP> m_bmpSurface;
    uint32_t* m_pSurfaceBits = nullptr;  // owned by m_bmpSurface
    int m_nSurfaceWidth = 0;
    int m_nSurfaceHeight = 0;
    DesktopLayout m_layout;
};
