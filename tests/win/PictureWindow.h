// A window of the tests that shows one picture at a screen point, pixel for pixel, and records the
// left-button presses and releases it receives.
#pragma once

#include "engine/PixelBuffer.h"

#include "FrameworkTestUtil.h"

#include <windows.h>

#include <vector>

struct ButtonEvent {
    bool bDown = false;
    POINT pt{};  // screen pixels
};

class CPictureWindow {
public:
    // The window covers `picture` with a grey margin of `nMargin` pixels all round; the picture's
    // top-left lies at `ptPicture`.
    CPictureWindow(PixelBuffer picture, POINT ptPicture, int nMargin = 40);
    ~CPictureWindow();
    CPictureWindow(const CPictureWindow&) = delete;
    CPictureWindow& operator=(const CPictureWindow&) = delete;

    HWND Get() const { return m_hWnd; }
    const std::vector<ButtonEvent>& Events() const { return m_events; }
    // Hides or shows the picture (the margin colour stays).
    void ShowPicture(bool bShow);

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hDC) const;

    PixelBuffer m_picture;
    int m_nMargin;
    bool m_bPictureShown = true;
    HWND m_hWnd = nullptr;
    std::vector<ButtonEvent> m_events;
};
