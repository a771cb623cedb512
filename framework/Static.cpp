// CStatic: a static control whose messages go through the class's tables first.
#include "framework/Static.h"

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
    SetOwnsWindow();
    return true;
}

HANDLE CStatic::SetImage(UINT uImageType, HANDLE hImage) const {
    return reinterpret_cast<HANDLE>(
        SendMessage(STM_SETIMAGE, uImageType, reinterpret_cast<LPARAM>(hImage)));
}
