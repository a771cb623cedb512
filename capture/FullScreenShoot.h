// CFullScreenShoot: the overlay over the whole desktop (every monitor) on which the user drags
// (or clicks) a new target out of the frozen, dimmed screen.
#pragma once

#include "engine/PixelBuffer.h"
#include "framework/DialogEx.h"
#include "framework/GdiObject.h"

// One object serves one selection: construct it, DoModal, read the results, destroy it. The
// object outlives its window, so the results stay readable after the modal run.
class CFullScreenShoot : public CDialogImpl<CFullScreenShoot> {
public:
    enum TimerId : UINT_PTR { IDT_METRO_SWITCH = 9995 };
    // Windows-key + Tab follows this long after the overlay shows, in Metro mode.
    static constexpr UINT kMetroSwitchMs = 150;

    // `bMetroMode`: leave a tablet's start screen with Windows-key + Tab once shown.
    explicit CFullScreenShoot(bool bMetroMode = false);

    // The results: set by a completed selection (DoModal returned IDOK after a release). Desktop
    // pixels, right and bottom exclusive; the pictures are top-down, black where no monitor is,
    // and empty when no selection was made (Enter, or the screen could not be grabbed).
    Rect m_rcTarget;
    PixelBuffer m_bmpTarget;
    Rect m_rcArea;
    PixelBuffer m_bmpArea;

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnRButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    void GrabScreen();
    void PrepareFrames();
    // Brings the composite from the bright selection m_rcShown to `rcSelection`.
    void ShowSelection(const Rect& rcSelection);
    void CutResults();

    bool m_bMetroMode;
    // The virtual screen the overlay covers: its desktop top-left, which is also where the
    // client area and the frozen picture start, and its size.
    Point m_ptOrigin;
    int m_nScreenWidth = 0;
    int m_nScreenHeight = 0;
    int m_bSelecting = 0;
    // The press point (left, top) and the pointer (right, bottom) of the drag, client pixels.
    Rect m_rcDragged;
    bool m_bFramesPrepared = false;
    // The frozen screen at the desktop's depth until the overlay shows; then it becomes the
    // untouched picture (source of the bright selection and the results) beside two copies:
    // dimmed, and the frame the overlay paints.
    CGdiObject<HBITMAP> m_hScreenGrab;
    CGdiObject<HBITMAP> m_hBright;
    CGdiObject<HBITMAP> m_hDimmed;
    CGdiObject<HBITMAP> m_hComposite;
    // The normalised selection the composite shows bright; empty before the first move.
    Rect m_rcShown;
    HCURSOR m_hCrosshair = nullptr;  // shared (LoadCursorW)

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CFullScreenShoot> s_messages[] = {
        {WM_SHOWWINDOW, &CFullScreenShoot::OnShowWindow},
        {WM_ERASEBKGND, &CFullScreenShoot::OnEraseBkgnd},
        {WM_PAINT, &CFullScreenShoot::OnPaint},
        {WM_SETCURSOR, &CFullScreenShoot::OnSetCursor},
        {WM_LBUTTONDOWN, &CFullScreenShoot::OnLButtonDown},
        {WM_MOUSEMOVE, &CFullScreenShoot::OnMouseMove},
        {WM_LBUTTONUP, &CFullScreenShoot::OnLButtonUp},
        {WM_RBUTTONUP, &CFullScreenShoot::OnRButtonUp},
        {WM_TIMER, &CFullScreenShoot::OnTimer},
        {WM_DESTROY, &CFullScreenShoot::OnDestroy},
    };
};
