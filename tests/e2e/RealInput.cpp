// SendInput records for the pointer, the wheel and the keyboard, each followed by the wait until
// the programs on the desktop have taken it.
#include "tests/e2e/RealInput.h"
#include "tests/e2e/InputTaken.h"
#include "tests/e2e/Waiting.h"

#include "engine/MonitorLayout.h"
#include "engine/MouseNormalise.h"

namespace {

// A move that another program's late replay undid is sent again, a few times at most.
constexpr int kMoveAttempts = 5;

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

// A record that puts the pointer at `pt` (on any monitor) together with `dwButtonFlags`: the
// system takes the button at that very place, whatever another program's late replay of an
// earlier pointer place did just before.
INPUT PointerInputAt(POINT pt, DWORD dwButtonFlags) {
    INPUT input = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK |
                             dwButtonFlags);
    const Point ptAbsolute = NormaliseVirtualDesk(Point{pt.x, pt.y}, ReadVirtualScreen());
    input.mi.dx = ptAbsolute.x;
    input.mi.dy = ptAbsolute.y;
    return input;
}

bool IsPointerAt(POINT pt) {
    POINT now{};
    return GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
}

bool IsKeyDown(int nVirtualKey) {
    return (GetAsyncKeyState(nVirtualKey) & 0x8000) != 0;
}

// Sends one button or key record, waits until the system's state shows it, then until every
// program has taken it.
void SendAndWait(INPUT input, int nVirtualKey, bool bDown) {
    SendOne(input);
    WaitUntil([&] { return IsKeyDown(nVirtualKey) == bDown; }, kReactionTimeoutMs, 1);
    WaitForInputTaken(kReactionTimeoutMs);
}

void SendUnicodeCharacter(wchar_t ch) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = ch;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    SendOne(input);
    WaitForInputTaken(kReactionTimeoutMs);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendOne(input);
    WaitForInputTaken(kReactionTimeoutMs);
}

}  // namespace

bool MovePointer(POINT pt) {
    const INPUT input = PointerInputAt(pt, 0);
    for (int nAttempt = 0; nAttempt < kMoveAttempts; ++nAttempt) {
        SendOne(input);
        // The pointer's place follows the input once the system has queued it, not at once.
        if (!WaitUntil([&] { return IsPointerAt(pt); }, kReactionTimeoutMs, 1)) {
            return false;
        }
        // A program that was behind may replay earlier places meanwhile: the move holds only
        // if the pointer is still there once every program has caught up.
        if (WaitForInputTaken(kReactionTimeoutMs) && IsPointerAt(pt)) {
            return true;
        }
    }
    return false;
}

bool GlidePointer(POINT pt, int nStepPx) {
    return GlidePointer(pt, nStepPx, [](POINT) {});
}

void PressLeftButton() {
    SendAndWait(MouseInput(MOUSEEVENTF_LEFTDOWN), VK_LBUTTON, true);
}

void ReleaseLeftButton() {
    SendAndWait(MouseInput(MOUSEEVENTF_LEFTUP), VK_LBUTTON, false);
}

void PressLeftButtonAt(POINT pt) {
    SendAndWait(PointerInputAt(pt, MOUSEEVENTF_LEFTDOWN), VK_LBUTTON, true);
}

void ReleaseLeftButtonAt(POINT pt) {
    SendAndWait(PointerInputAt(pt, MOUSEEVENTF_LEFTUP), VK_LBUTTON, false);
}

void PressRightButton() {
    SendAndWait(MouseInput(MOUSEEVENTF_RIGHTDOWN), VK_RBUTTON, true);
}

void ReleaseRightButton() {
    SendAndWait(MouseInput(MOUSEEVENTF_RIGHTUP), VK_RBUTTON, false);
}

bool ClickAt(POINT pt) {
    if (!GlidePointer(pt)) {
        return false;
    }
    PressLeftButtonAt(pt);
    ReleaseLeftButtonAt(pt);
    return true;
}

void TurnWheel(int nDelta) {
    INPUT input = MouseInput(MOUSEEVENTF_WHEEL);
    input.mi.mouseData = static_cast<DWORD>(nDelta);
    SendOne(input);
    WaitForInputTaken(kReactionTimeoutMs);
}

void PressKey(WORD nVirtualKey) {
    SendAndWait(KeyInput(nVirtualKey, 0), nVirtualKey, true);
}

void ReleaseKey(WORD nVirtualKey) {
    SendAndWait(KeyInput(nVirtualKey, KEYEVENTF_KEYUP), nVirtualKey, false);
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
