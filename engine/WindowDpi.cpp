// Reading a window's DPI, with the fall-back for systems without GetDpiForWindow.
#include "engine/WindowDpi.h"

namespace {

int g_nDpiOverride = 0;

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: the function is missing before Windows 10 1607.
GetDpiForWindowFn GetDpiForWindowFunction() {
    static const GetDpiForWindowFn pfn = [] {
        const HMODULE hUser = ::GetModuleHandleW(L"user32.dll");
        return hUser != nullptr ? reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
                                      ::GetProcAddress(hUser, "GetDpiForWindow")))
                                : nullptr;
    }();
    return pfn;
}

int ScreenDpi() {
    const HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr) {
        return kBaseDpi;
    }
    const int nDpi = ::GetDeviceCaps(hScreen, LOGPIXELSX);
    ::ReleaseDC(nullptr, hScreen);
    return nDpi;
}

}  // namespace

CDpiScale WindowScale(HWND hWnd) {
    if (g_nDpiOverride > 0) {
        return CDpiScale(g_nDpiOverride);
    }
    if (hWnd != nullptr) {
        if (const GetDpiForWindowFn pfn = GetDpiForWindowFunction(); pfn != nullptr) {
            if (const UINT nDpi = pfn(hWnd); nDpi != 0) {
                return CDpiScale(static_cast<int>(nDpi));
            }
        }
    }
    return CDpiScale(ScreenDpi());
}

void OverrideWindowDpiForTest(int nDpi) {
    g_nDpiOverride = nDpi > 0 ? nDpi : 0;
}
