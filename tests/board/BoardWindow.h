// CBoardWindow: the window that shows the pictures and logs the clicks it receives.
#pragma once

#include "engine/PixelBuffer.h"
#include "tests/board/BoardLogWriter.h"

#include <windows.h>

#include <cstddef>
#include <vector>

struct BoardPicture {
    PixelBuffer pixels;  // top-down
    Point topLeft;       // screen point
    bool bVisible = true;
};

class CBoardWindow {
public:
    // `rcWindow`: the window's screen rectangle.
    CBoardWindow(HINSTANCE hInstance, std::vector<BoardPicture> pictures, RECT rcWindow,
                 CBoardLogWriter& log);
    ~CBoardWindow();
    CBoardWindow(const CBoardWindow&) = delete;
    CBoardWindow& operator=(const CBoardWindow&) = delete;

    // Registers the class, creates the window over its rectangle, shows it in front,
    // paints it and logs "ready". False when the class or the window could not be made.
    bool Create();
    HWND Handle() const { return m_hWnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    // Draws the client area `rcArea` into `hdc`, where client point `ptOrigin` is at (0, 0).
    void DrawInto(HDC hdc, const RECT& rcArea, POINT ptOrigin) const;
    void OnButton(BoardEvent::Kind kind, LPARAM lParam);
    LRESULT OnShowPicture(WPARAM nIndex, bool bShow);
    LRESULT OnMovePicture(WPARAM nIndex, Point topLeft);
    // Where `picture` lies in client coordinates.
    RECT ClientRectOf(const BoardPicture& picture) const;
    // Repaints the picture's place at once, so a sent control message returns after the paint.
    void RepaintAt(const RECT& rcClient);

    HINSTANCE m_hInstance;
    std::vector<BoardPicture> m_pictures;
    RECT m_rcWindow;
    CBoardLogWriter& m_log;
    ATOM m_nClassAtom = 0;
    HWND m_hWnd = nullptr;
    size_t m_nPresses = 0;
};
