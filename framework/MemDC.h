// CMemDC: the owner of a memory device context (CreateCompatibleDC / DeleteDC).
#pragma once

#include "framework/HandleOwner.h"

#include <windows.h>

struct CMemDCTraits {
    using Handle = HDC;
    static constexpr HandleKind kKind = HandleKind::MemoryDC;
    static void Close(HDC hDC) { ::DeleteDC(hDC); }
};

// Move-only. Declare it before the bitmaps and selections that use it, so that they go first.
class CMemDC {
public:
    // A DC compatible with `hdcCompatible`; nullptr: compatible with the screen.
    explicit CMemDC(HDC hdcCompatible) : m_dc(::CreateCompatibleDC(hdcCompatible)) {}

    HDC Get() const { return m_dc.Get(); }
    explicit operator bool() const { return static_cast<bool>(m_dc); }

private:
    CHandleOwner<CMemDCTraits> m_dc;
};
