// SendInput for the play loop and the capture: pointer moves, clicks, Windows-key + Tab.
#include "engine/SyntheticInput.h"

#include "engine/MonitorLayout.h"
#include "engine/MouseNormalise.h"

namespace {

bool AreButtonsSwapped() {
    return ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

void SendKey(WORD nVirtualKey, DWORD dwFlags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = nVirtualKey;
    input.ki.dwFlags = dwFlags;
    ::SendInput(1, &input, sizeof(input));
}

void SendWinTabSequence(DWORD dwStepWaitMs, DWORD dwFinalWaitMs) {
    SendKey(VK_LWIN, 0);
    ::Sleep(dwStepWaitMs);
    SendKey(VK_TAB, 0);
    ::Sleep(dwStepWaitMs);
    SendKey(VK_TAB, KEYEVENTF_KEYUP);
    ::Sleep(dwStepWaitMs);
    SendKey(VK_LWIN, KEYEVENTF_KEYUP);
    if (dwFinalWaitMs != 0) {
        ::Sleep(dwFinalWaitMs);
    }
}

}  // namespace

void CSyntheticMouse::MoveTo(Point pt) {
    // Against the virtual screen of this moment: monitors may have come or gone since the last
    // move, and the normalised coordinates mean nothing once the virtual screen changes.
    const Point ptAbsolute = NormaliseVirtualDesk(pt, ReadVirtualScreen());
    m_input.mi.dx = ptAbsolute.x;
    m_input.mi.dy = ptAbsolute.y;
    Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK);
}

void CSyntheticMouse::ButtonDown() {
    // Read at every press: the user may swap the buttons while Tarvik runs. The release goes to
    // the button pressed, even if they were swapped in between.
    const bool bSwapped = AreButtonsSwapped();
    m_dwUpFlags = bSwapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    Send(bSwapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
}

void CSyntheticMouse::ButtonUp() {
    Send(m_dwUpFlags != 0 ? m_dwUpFlags
                          : (AreButtonsSwapped() ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP));
    m_dwUpFlags = 0;
}

void CSyntheticMouse::Send(DWORD dwFlags) {
    m_input.type = INPUT_MOUSE;
    m_input.mi.mouseData = 0;
    m_input.mi.dwFlags = dwFlags;
    m_input.mi.time = 0;
    m_input.mi.dwExtraInfo = 0;
    // A rejected event is not retried: the next tick tries the whole click again.
    ::SendInput(1, &m_input, sizeof(m_input));
}

int PrimaryButtonKey() {
    return AreButtonsSwapped() ? VK_RBUTTON : VK_LBUTTON;
}

void SendWinTab() {
    SendWinTabSequence(100, 200);
}

void SendWinTabQuick() {
    SendWinTabSequence(50, 0);
}
