// SendInput records for the pointer, the wheel and the keyboard.
#include "tests/e2e/RealInput.h"
#include "tests/e2e/Waiting.h"

#include "engine/MouseNormalise.h"

namespace {

void SendOne(INPUT input) {
    SendInput(1, &input, sizeof(input));
}

INPUT MouseInput(DWORD dwFlags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = dwFlags;
    return input;
}

INPUT KeyInput(WORD nVirtualKey, DWORD dwFlags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = nVirtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(nVirtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = dwFlags;
    return input;
}

void SendUnicodeCharacter(wchar_t ch) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = ch;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    SendOne(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendOne(input);
}

}  // namespace

bool MovePointer(POINT pt) {
    INPUT input = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    const Point ptAbsolute = NormaliseAbsolute(Point{pt.x, pt.y}, GetSystemMetrics(SM_CXSCREEN),
                                               GetSystemMetrics(SM_CYSCREEN));
    input.mi.dx = ptAbsolute.x;
    input.mi.dy = ptAbsolute.y;
    SendOne(input);
    // The pointer's place follows the input once the system has queued it, not at once.
    return WaitUntil(
        [&] {
            POINT now{};
            return GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
        },
        kReactionTimeoutMs, 1);
}

bool GlidePointer(POINT pt, int nStepPx) {
    return GlidePointer(pt, nStepPx, [](POINT) {});
}

void PressLeftButton() {
    SendOne(MouseInput(MOUSEEVENTF_LEFTDOWN));
    Sleep(kInputStepPauseMs);
}

void ReleaseLeftButton() {
    SendOne(MouseInput(MOUSEEVENTF_LEFTUP));
    Sleep(kInputStepPauseMs);
}

bool ClickAt(POINT pt) {
    if (!GlidePointer(pt)) {
        return false;
    }
    PressLeftButton();
    ReleaseLeftButton();
    return true;
}

void TurnWheel(int nDelta) {
    INPUT input = MouseInput(MOUSEEVENTF_WHEEL);
    input.mi.mouseData = static_cast<DWORD>(nDelta);
    SendOne(input);
    Sleep(kInputStepPauseMs);
}

void PressKey(WORD nVirtualKey) {
    SendOne(KeyInput(nVirtualKey, 0));
    Sleep(kInputStepPauseMs);
}

void ReleaseKey(WORD nVirtualKey) {
    SendOne(KeyInput(nVirtualKey, KEYEVENTF_KEYUP));
    Sleep(kInputStepPauseMs);
}

void TapKey(WORD nVirtualKey) {
    PressKey(nVirtualKey);
    ReleaseKey(nVirtualKey);
}

void TypeText(const std::wstring& strText) {
    for (const wchar_t ch : strText) {
        const SHORT nKey = VkKeyScanW(ch);
        const bool bHasKey = nKey != -1 && (nKey & 0xFF) != 0xFF;
        // Only Shift is pressed for the typist; AltGr characters go as Unicode input.
        if (!bHasKey || (nKey & 0x0600) != 0) {
            SendUnicodeCharacter(ch);
            Sleep(kInputStepPauseMs);
            continue;
        }
        const WORD nVirtualKey = static_cast<WORD>(nKey & 0xFF);
        if ((nKey & 0x0100) != 0) {
            CKeyHeld shift(VK_SHIFT);
            TapKey(nVirtualKey);
        } else {
            TapKey(nVirtualKey);
        }
    }
}
