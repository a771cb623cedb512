// The paint round trip that proves other programs' window threads have taken our input.
#include "tests/e2e/InputTaken.h"

#include <map>
#include <vector>

namespace {

// One visible top-level window, with a client area, of each window thread of other processes.
std::vector<HWND> OneVisibleWindowPerThread() {
    std::map<DWORD, HWND> byThread;
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            DWORD nProcessId = 0;
            const DWORD nThreadId = GetWindowThreadProcessId(hWnd, &nProcessId);
            RECT rcClient{};
            if (nProcessId != GetCurrentProcessId() && IsWindowVisible(hWnd) &&
                GetClientRect(hWnd, &rcClient) && !IsRectEmpty(&rcClient)) {
                reinterpret_cast<std::map<DWORD, HWND>*>(lParam)->emplace(nThreadId, hWnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&byThread));
    std::vector<HWND> windows;
    for (const auto& [nThreadId, hWnd] : byThread) {
        windows.push_back(hWnd);
    }
    return windows;
}

}  // namespace

bool WaitForInputTaken(DWORD nTimeoutMs) {
    const std::vector<HWND> windows = OneVisibleWindowPerThread();
    // Not erased: the window paints the same pixel again, so nothing flickers on the screen.
    constexpr RECT kOnePixel{0, 0, 1, 1};
    for (const HWND hWnd : windows) {
        InvalidateRect(hWnd, &kOnePixel, FALSE);
    }
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (const HWND hWnd : windows) {
        // A window that went away or was hidden meanwhile has nothing left to paint.
        while (IsWindow(hWnd) && IsWindowVisible(hWnd) && GetUpdateRect(hWnd, nullptr, FALSE)) {
            if (GetTickCount64() >= nDeadline) {
                return false;
            }
            Sleep(1);
        }
    }
    return true;
}
