// CPaintDC: the device context of one WM_PAINT.
#include "framework/PaintDC.h"

#include "framework/HandleCounts.h"

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_ps)) {
    if (m_hDC != nullptr) {
        CHandleCounts::Acquired(HandleKind::PaintDC);
    }
}

CPaintDC::~CPaintDC() {
    if (m_hDC != nullptr) {
        ::EndPaint(m_hWnd, &m_ps);
        CHandleCounts::Released(HandleKind::PaintDC);
    }
}
