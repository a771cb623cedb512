// CSaveDC: saves a DC's state (SaveDC) and restores it at the end of the scope (RestoreDC).
#pragma once

#include <windows.h>

// Neither copied nor moved: saved states nest, and must be restored in reverse order.
class CSaveDC {
public:
    explicit CSaveDC(HDC hDC);
    ~CSaveDC();
    CSaveDC(const CSaveDC&) = delete;
    CSaveDC& operator=(const CSaveDC&) = delete;

    bool IsSaved() const { return m_nSaved != 0; }

private:
    HDC m_hDC;
    int m_nSaved;
};
