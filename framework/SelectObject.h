// CSelectObject: selects a bitmap, brush, pen or font into a DC and puts the previous one back.
#pragma once

#include <windows.h>

// Neither copied nor moved, so that the selection ends where its scope ends. Declare it after
// the DC and the object it selects: it then goes first, and the object can be deleted.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ hObject);
    // Selecting a region sets the clip region and gives nothing back to restore.
    CSelectObject(HDC hDC, HRGN hRegion) = delete;
    ~CSelectObject() { Restore(); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

    // False when the selection failed (then nothing is restored).
    bool IsSelected() const { return m_hPrevious != nullptr; }
    // Puts the previous object back now, before the scope ends (say, before GetDIBits reads a
    // bitmap that must not be selected).
    void Restore();

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};
