// Start and shutdown of GDI+.
#include "app/GdiplusSession.h"

#include <windows.h>

// WIN32_LEAN_AND_MEAN leaves out the COM types GDI+ needs.
#include <objidl.h>

#include <gdiplus.h>

CGdiplusSession::CGdiplusSession() {
    const Gdiplus::GdiplusStartupInput input;
    ULONG_PTR uToken = 0;
    if (Gdiplus::GdiplusStartup(&uToken, &input, nullptr) == Gdiplus::Ok) {
        m_uToken = uToken;
    }
}

CGdiplusSession::~CGdiplusSession() {
    if (m_uToken != 0) {
        Gdiplus::GdiplusShutdown(m_uToken);
    }
}
