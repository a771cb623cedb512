// CCustomWnd: a window of our own window class, its messages routed to the class's tables.
#include "framework/CustomWnd.h"

namespace {

// The object pointer lives in the class's own extra bytes, leaving GWLP_USERDATA to others.
constexpr int kObjectSlot = 0;

}  // namespace

CCustomWnd::~CCustomWnd() {
    DestroyWindow();
}

bool CCustomWnd::Create(const CWindowClassInfo& cls, DWORD dwExStyle, const wchar_t* pszTitle,
                        DWORD dwStyle, const RECT& rc, HWND hParent, UINT_PTR idOrMenu) {
    if (m_hWnd != nullptr || !RegisterWindowClass(cls)) {
        return false;
    }
    const HWND hWnd =
        ::CreateWindowExW(dwExStyle, cls.pszName, pszTitle, dwStyle, rc.left, rc.top,
                          rc.right - rc.left, rc.bottom - rc.top, hParent,
                          reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleW(nullptr), this);
    return hWnd != nullptr;
}

bool CCustomWnd::DestroyWindow() {
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd) != FALSE;
}

LRESULT CCustomWnd::DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
}

bool CCustomWnd::RegisterWindowClass(const CWindowClassInfo& cls) {
    const HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(hInstance, cls.pszName, &wc)) {
        return wc.lpfnWndProc == WindowProc;
    }
    wc.style = cls.uStyle;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = hInstance;
    wc.hIcon = cls.hIcon;
    wc.hCursor = cls.hCursor;
    wc.hbrBackground = cls.hbrBackground;
    wc.lpszClassName = cls.pszName;
    wc.hIconSm = cls.hIconSmall;
    return ::RegisterClassExW(&wc) != 0;
}

LRESULT CALLBACK CCustomWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CCustomWnd* pWnd = nullptr;
    if (uMsg == WM_NCCREATE) {
        pWnd = static_cast<CCustomWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hWnd, kObjectSlot, reinterpret_cast<LONG_PTR>(pWnd));
        pWnd->m_hWnd = hWnd;
    } else {
        // Overlapped windows get WM_GETMINMAXINFO before WM_NCCREATE: no object yet.
        pWnd = reinterpret_cast<CCustomWnd*>(::GetWindowLongPtrW(hWnd, kObjectSlot));
    }
    if (pWnd == nullptr) {
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    LRESULT lResult = 0;
    const DispatchResult result = pWnd->Dispatch(uMsg, wParam, lParam, lResult);
    if (uMsg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, kObjectSlot, 0);
        pWnd->m_hWnd = nullptr;
    }
    switch (result) {
        case DispatchResult::Handled:
            return lResult;
        case DispatchResult::Threw:
            // Creation that failed half-way is abandoned; anything else gets default handling.
            if (uMsg == WM_NCCREATE) {
                return FALSE;
            }
            if (uMsg == WM_CREATE) {
                return -1;
            }
            break;
        case DispatchResult::NotHandled:
            break;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}
