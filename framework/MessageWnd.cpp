// CMessageWnd: the common base of our windows that receive messages.
#include "framework/MessageWnd.h"

#include "framework/HandlerExceptions.h"

#include <utility>

bool CMessageWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CMessageWnd::Default() {
    if (m_nDispatchDepth == 0) {
        return 0;
    }
    return DefaultProc(m_msgCurrent.uMsg, m_msgCurrent.wParam, m_msgCurrent.lParam);
}

CMessageWnd::DispatchResult CMessageWnd::Dispatch(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                  LRESULT& lResult) noexcept {
    // A handler may destroy the window, which clears m_hWnd; the report names the original.
    const HWND hWnd = m_hWnd;
    // Messages nest (a handler's SendMessage comes back here), so the outer one is restored.
    const CCurrentMessage msgOuter = std::exchange(m_msgCurrent, {uMsg, wParam, lParam});
    ++m_nDispatchDepth;
    DispatchResult result = DispatchResult::NotHandled;
    try {
        if (OnMessage(uMsg, wParam, lParam, lResult)) {
            result = DispatchResult::Handled;
        }
    } catch (...) {
        ReportHandlerException(hWnd, uMsg);
        result = DispatchResult::Threw;
    }
    --m_nDispatchDepth;
    m_msgCurrent = msgOuter;
    return result;
}
