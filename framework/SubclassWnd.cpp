// CSubclassWnd: a system control whose messages go through the class's tables first.
#include "framework/SubclassWnd.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CSubclassWnd::~CSubclassWnd() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_bOwnsWindow) {
        ::DestroyWindow(m_hWnd);
    } else {
        UnsubclassWindow();
    }
}

bool CSubclassWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr ||
        !::SetWindowSubclass(hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = hWnd;
    m_bOwnsWindow = false;
    return true;
}

bool CSubclassWnd::SubclassDlgItem(UINT uId, HWND hParent) {
    return SubclassWindow(::GetDlgItem(hParent, static_cast<int>(uId)));
}

HWND CSubclassWnd::UnsubclassWindow() {
    const HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        m_hWnd = nullptr;
        m_bOwnsWindow = false;
    }
    return hWnd;
}

LRESULT CSubclassWnd::DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR dwRefData) {
    auto* pWnd = reinterpret_cast<CSubclassWnd*>(dwRefData);
    LRESULT lResult = 0;
    const DispatchResult result = pWnd->Dispatch(uMsg, wParam, lParam, lResult);
    if (uMsg == WM_NCDESTROY) {
        // The subclass goes with the window; the original procedure still sees WM_NCDESTROY.
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        pWnd->m_hWnd = nullptr;
        pWnd->m_bOwnsWindow = false;
        return ::DefSubclassProc(hWnd, uMsg, wParam, lParam);
    }
    if (result == DispatchResult::Handled) {
        return lResult;
    }
    return ::DefSubclassProc(hWnd, uMsg, wParam, lParam);
}
