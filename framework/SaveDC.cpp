// CSaveDC: saves a DC's state and restores it at the end of the scope.
#include "framework/SaveDC.h"

#include "framework/HandleCounts.h"

CSaveDC::CSaveDC(HDC hDC) : m_hDC(hDC), m_nSaved(::SaveDC(hDC)) {
    if (m_nSaved != 0) {
        CHandleCounts::Acquired(HandleKind::SavedDC);
    }
}

CSaveDC::~CSaveDC() {
    if (m_nSaved != 0) {
        ::RestoreDC(m_hDC, m_nSaved);
        CHandleCounts::Released(HandleKind::SavedDC);
    }
}
