// CDesktopBlit: a screen grab in its two halves, the BitBlt into a DIB section and the copy out.
#pragma once

#include "engine/PixelBuffer.h"
#include "framework/GdiObject.h"

#include <windows.h>

#include <cstdint>

// Makes the same calls CScreenGrabber::Grab makes, into a DIB section of its own, so that the
// bench can tell the system's share of a grab from the copy that follows it.
class CDesktopBlit {
public:
    // A 32-bit top-down DIB section of the size of `rcVirtual`, the desktop rectangle it copies.
    explicit CDesktopBlit(const Rect& rcVirtual);
    CDesktopBlit(const CDesktopBlit&) = delete;
    CDesktopBlit& operator=(const CDesktopBlit&) = delete;

    explicit operator bool() const { return static_cast<bool>(m_bmpSurface); }
    // The desktop point of the copied rectangle's top-left.
    Point Origin() const { return m_ptOrigin; }

    // Copies the desktop rectangle into the DIB section and waits for GDI to finish writing
    // them. False when a system call fails.
    bool Blit();
    // The grab's second half: the DIB section's pixels into `screen` with their fourth byte
    // cleared; `screen` is resized first if its size differs.
    void CopyMasked(PixelBuffer& screen) const;

private:
    Point m_ptOrigin;
    int m_nWidth;
    int m_nHeight;
    CGdiObject<HBITMAP> m_bmpSurface;
    const uint32_t* m_pBits = nullptr;  // owned by m_bmpSurface
};
