// CWindowDC and CClientDC: a window's device context for one use (GetWindowDC / GetDC, then
// ReleaseDC).
#pragma once

#include <windows.h>

// The common part: holds the window and its DC and releases it. Move-only.
class CReleasedDC {
public:
    ~CReleasedDC();
    CReleasedDC(CReleasedDC&& other) noexcept;
    CReleasedDC& operator=(CReleasedDC&& other) noexcept;
    CReleasedDC(const CReleasedDC&) = delete;
    CReleasedDC& operator=(const CReleasedDC&) = delete;

    HDC Get() const { return m_hDC; }
    explicit operator bool() const { return m_hDC != nullptr; }

protected:
    CReleasedDC(HWND hWnd, HDC hDC);

private:
    void Release();

    HWND m_hWnd = nullptr;
    HDC m_hDC = nullptr;
};

// The whole window, frame included (GetWindowDC).
class CWindowDC : public CReleasedDC {
public:
    explicit CWindowDC(HWND hWnd);
};

// The client area (GetDC); nullptr: the whole screen.
class CClientDC : public CReleasedDC {
public:
    explicit CClientDC(HWND hWnd);
};
