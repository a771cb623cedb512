// The low-level keyboard hook behind CKeyRecorder.
#include "tests/win/KeyRecorder.h"

namespace {

std::vector<KeyEvent>* g_pKeys = nullptr;

}  // namespace

CKeyRecorder::CKeyRecorder() {
    g_pKeys = &m_keys;
    m_hHook = ::SetWindowsHookExW(WH_KEYBOARD_LL, Record, ::GetModuleHandleW(nullptr), 0);
}

void CKeyRecorder::Stop() {
    if (m_hHook != nullptr) {
        ::UnhookWindowsHookEx(m_hHook);
        m_hHook = nullptr;
    }
    if (g_pKeys == &m_keys) {
        g_pKeys = nullptr;
    }
}

LRESULT CALLBACK CKeyRecorder::Record(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && g_pKeys != nullptr) {
        const auto* pKey = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        g_pKeys->emplace_back(pKey->vkCode, wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
