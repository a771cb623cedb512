// CSightWnd: the cross-hair marker that shows the point about to be clicked.
#pragma once

#include "engine/DpiScale.h"
#include "engine/PixelBuffer.h"
#include "framework/DialogEx.h"

class CSightWnd : public CDialogImpl<CSightWnd> {
public:
    CSightWnd();

    // Centres the marker on the screen point (x, y) (real pixels), shows it without activating
    // it and paints it at once.
    int PlaceAndShow(int x, int y);

    // The scale the marker is drawn at: its picture, 64 x 64 at 96 DPI, is that much larger.
    const CDpiScale& Scale() const { return m_scale; }

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
    // On another monitor's DPI the marker takes that scale and stays centred on its point: the
    // system's suggested rectangle would not keep the centre.
    void OnDpiChanged(UINT nDpi, const RECT& rcSuggested);

    // Sizes the window, its picture and its region for `scale`.
    void ApplyScale(const CDpiScale& scale);
    // Moves the window so that the picture's centre lies on m_ptCentre.
    void MoveToCentre(UINT uFlags);

    // The sight picture as loaded (96 DPI) and as drawn (at m_scale); both top-down.
    PixelBuffer m_sightBase;
    PixelBuffer m_sight;
    CDpiScale m_scale;
    Point m_ptCentre;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CSightWnd> s_messages[] = {
        {WM_PAINT, &CSightWnd::OnPaint},
        {WM_ERASEBKGND, &CSightWnd::OnEraseBkgnd},
        {WM_MOUSEACTIVATE, &CSightWnd::OnMouseActivate},
        DpiChangedEntry<&CSightWnd::OnDpiChanged>(),
    };
};
