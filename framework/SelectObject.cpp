// CSelectObject: selects a GDI object into a DC and puts the previous one back.
#include "framework/SelectObject.h"

#include "framework/HandleCounts.h"

CSelectObject::CSelectObject(HDC hDC, HGDIOBJ hObject)
    : m_hDC(hDC), m_hPrevious(::SelectObject(hDC, hObject)) {
    if (m_hPrevious == HGDI_ERROR) {
        m_hPrevious = nullptr;
    }
    if (m_hPrevious != nullptr) {
        CHandleCounts::Acquired(HandleKind::Selection);
    }
}

void CSelectObject::Restore() {
    if (m_hPrevious != nullptr) {
        ::SelectObject(m_hDC, m_hPrevious);
        CHandleCounts::Released(HandleKind::Selection);
        m_hPrevious = nullptr;
    }
}
