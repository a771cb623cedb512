// CScreenPictureWnd: a topmost borderless window over the whole virtual screen showing a picture.
#pragma once

#include "engine/PixelBuffer.h"
#include "framework/CustomWnd.h"

// Gives the screen grab a busy, known screen to read instead of an empty desktop. The picture
// is drawn with its top-left at the desktop point `ptOrigin` (the virtual screen's top-left), one
// pixel per pixel, and must outlive the window.
class CScreenPictureWnd : public CCustomWndImpl<CScreenPictureWnd> {
public:
    CScreenPictureWnd(const PixelBuffer& picture, Point ptOrigin)
        : m_picture(picture), m_ptOrigin(ptOrigin) {}

    // Creates the window over the picture's place, shows it on top of everything and paints it.
    bool Show();

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);

    static constexpr CMessageEntry<CScreenPictureWnd> s_messages[] = {
        {WM_PAINT, &CScreenPictureWnd::OnPaint},
        {WM_ERASEBKGND, &CScreenPictureWnd::OnEraseBackground},
    };

private:
    const PixelBuffer& m_picture;
    Point m_ptOrigin;
};

// Dispatches every message waiting for this thread's windows, so that they paint and Wine keeps
// the display up to date.
void PumpMessages();
