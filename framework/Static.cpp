// CStatic: a static control whose messages go through the class's tables first.
#include "framework/Static.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CStatic::~CStatic() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_bOwnsWindow) {
        ::DestroyWindow(m_hWnd);
    } else {
        UnsubclassWindow();
    }
}

bool CStatic::Create(const wchar_t* pszText, DWORD dwStyle, const RECT& rc, HWND hParent,
                     UINT uId) {
    if (m_hWnd != nullptr) {
        return false;
    }
    const HWND hWnd = ::CreateWindowExW(0, L"STATIC", pszText, dwStyle | WS_CHILD, rc.left, rc.top,
                                        rc.right - rc.left, rc.bottom - rc.top, hParent,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(uId)),
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (hWnd == nullptr) {
        return false;
    }
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return false;
    }
    m_bOwnsWindow = true;
    return true;
}

bool CStatic::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr ||
        !::SetWindowSubclass(hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = hWnd;
    m_bOwnsWindow = false;
    return true;
}

bool CStatic::SubclassDlgItem(UINT uId, HWND hParent) {
    return SubclassWindow(::GetDlgItem(hParent, static_cast<int>(uId)));
}

HWND CStatic::UnsubclassWindow() {
    const HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        m_hWnd = nullptr;
        m_bOwnsWindow = false;
    }
    return hWnd;
}

HANDLE CStatic::SetImage(UINT uImageType, HANDLE hImage) const {
    return reinterpret_cast<HANDLE>(
        SendMessage(STM_SETIMAGE, uImageType, reinterpret_cast<LPARAM>(hImage)));
}

LRESULT CStatic::DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CStatic::SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR dwRefData) {
    auto* pWnd = reinterpret_cast<CStatic*>(dwRefData);
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
