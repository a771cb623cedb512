// CWindowDC and CClientDC: a window's device context for one use.
#include "framework/WindowDC.h"

#include "framework/HandleCounts.h"

#include <utility>

CReleasedDC::CReleasedDC(HWND hWnd, HDC hDC) : m_hWnd(hWnd), m_hDC(hDC) {
    if (m_hDC != nullptr) {
        CHandleCounts::Acquired(HandleKind::WindowDC);
    }
}

CReleasedDC::~CReleasedDC() {
    Release();
}

CReleasedDC::CReleasedDC(CReleasedDC&& other) noexcept
    : m_hWnd(std::exchange(other.m_hWnd, nullptr)), m_hDC(std::exchange(other.m_hDC, nullptr)) {}

CReleasedDC& CReleasedDC::operator=(CReleasedDC&& other) noexcept {
    if (this != &other) {
        Release();
        m_hWnd = std::exchange(other.m_hWnd, nullptr);
        m_hDC = std::exchange(other.m_hDC, nullptr);
    }
    return *this;
}

void CReleasedDC::Release() {
    if (m_hDC != nullptr) {
        ::ReleaseDC(m_hWnd, m_hDC);
        CHandleCounts::Released(HandleKind::WindowDC);
        m_hDC = nullptr;
    }
}

CWindowDC::CWindowDC(HWND hWnd) : CReleasedDC(hWnd, ::GetWindowDC(hWnd)) {}

CClientDC::CClientDC(HWND hWnd) : CReleasedDC(hWnd, ::GetDC(hWnd)) {}
