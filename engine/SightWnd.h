// CSightWnd: the cross-hair marker that shows the point about to be clicked.
#pragma once

#include "framework/DialogEx.h"
#include "framework/GdiObject.h"

class CSightWnd : public CDialogImpl<CSightWnd> {
public:
    CSightWnd();

    // Centres the marker on the screen point (x, y), shows it without activating it and paints
    // it at once.
    int PlaceAndShow(int x, int y);

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    CGdiObject<HBITMAP> m_bmpSight;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CSightWnd> s_messages[] = {
        {WM_PAINT, &CSightWnd::OnPaint},
        {WM_ERASEBKGND, &CSightWnd::OnEraseBkgnd},
        {WM_MOUSEACTIVATE, &CSightWnd::OnMouseActivate},
    };
};
