// CPaintDC: the device context of one WM_PAINT (BeginPaint / EndPaint).
#pragma once

#include <windows.h>

// Neither copied nor moved: EndPaint must run in the same handler, on the same PAINTSTRUCT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const { return m_hDC; }
    const RECT& PaintRect() const { return m_ps.rcPaint; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC;
};
