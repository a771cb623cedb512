// Entry point of Tarvik.exe: registers the main window class, shows the window, runs the loop.
#include <windows.h>

namespace {

constexpr wchar_t kMainWindowClass[] = L"TarvikMainWindow";
constexpr wchar_t kMainWindowTitle[] = L"Tarvik";
// Outer size of the main window at 96 DPI; scaled to the screen's DPI (the manifest declares
// per-monitor awareness, so Windows does not stretch the window for us).
constexpr int kMainWindowWidth = 130;
constexpr int kMainWindowHeight = 500;
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Owns the screen device context for the lifetime of one query.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    int Dpi() const {
        return dc_ != nullptr ? GetDeviceCaps(dc_, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    }

private:
    HDC dc_;
};

// Returns the main window's rectangle, centred in the primary monitor's work area.
RECT CentredMainWindowRect() {
    const int dpi = ScreenDc().Dpi();
    const int width = MulDiv(kMainWindowWidth, dpi, USER_DEFAULT_SCREEN_DPI);
    const int height = MulDiv(kMainWindowHeight, dpi, USER_DEFAULT_SCREEN_DPI);

    RECT workArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const LONG left = workArea.left + (workArea.right - workArea.left - width) / 2;
    const LONG top = workArea.top + (workArea.bottom - workArea.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DPICHANGED: {
            // Moved to a monitor with another DPI: take the size Windows suggests for it.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    if (!RegisterMainWindowClass(instance)) {
        return 1;
    }

    const RECT rect = CentredMainWindowRect();
    // The window is destroyed by WM_CLOSE (DestroyWindow) before the loop ends.
    const HWND window = CreateWindowExW(
        0, kMainWindowClass, kMainWindowTitle, kMainWindowStyle, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message{};
    BOOL result = 0;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return result == 0 ? static_cast<int>(message.wParam) : 1;
}
