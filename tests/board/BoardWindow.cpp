// The board's window: painting the pictures pixel for pixel, the control messages and the log.
#include "tests/board/BoardWindow.h"

#include "tests/board/BoardProtocol.h"

#include <memory>
#include <type_traits>
#include <utility>

static_assert(kBoardMsgShowPicture == WM_APP + 1 && kBoardMsgMovePicture == WM_APP + 2 &&
              kBoardMsgPressCount == WM_APP + 3);

namespace {

struct CMemoryDcDeleter {
    void operator()(HDC hdc) const { DeleteDC(hdc); }
};
using CMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, CMemoryDcDeleter>;

struct CBitmapDeleter {
    void operator()(HBITMAP hBitmap) const { DeleteObject(hBitmap); }
};
using CBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, CBitmapDeleter>;

// BeginPaint to EndPaint.
class CPaint {
public:
    explicit CPaint(HWND hWnd) : m_hWnd(hWnd), m_hdc(BeginPaint(hWnd, &m_paint)) {}
    ~CPaint() { EndPaint(m_hWnd, &m_paint); }
    CPaint(const CPaint&) = delete;
    CPaint& operator=(const CPaint&) = delete;

    HDC Dc() const { return m_hdc; }
    const RECT& Area() const { return m_paint.rcPaint; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
    HDC m_hdc;
};

// Keeps `hObject` selected into `hdc` for a scope, then puts back what was there.
class CSelection {
public:
    CSelection(HDC hdc, HGDIOBJ hObject) : m_hdc(hdc), m_hPrevious(SelectObject(hdc, hObject)) {}
    ~CSelection() { SelectObject(m_hdc, m_hPrevious); }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hPrevious;
};

constexpr COLORREF kBackground =
    RGB((kBoardBackgroundBgr0 >> 16) & 0xFF, (kBoardBackgroundBgr0 >> 8) & 0xFF,
        kBoardBackgroundBgr0 & 0xFF);

}  // namespace

CBoardWindow::CBoardWindow(HINSTANCE hInstance, std::vector<BoardPicture> pictures, RECT rcWindow,
                           CBoardLogWriter& log)
    : m_hInstance(hInstance), m_pictures(std::move(pictures)), m_rcWindow(rcWindow), m_log(log) {}

CBoardWindow::~CBoardWindow() {
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    if (m_nClassAtom != 0) {
        UnregisterClassW(kBoardWindowClass, m_hInstance);
    }
}

bool CBoardWindow::Create() {
    // No CS_DBLCLKS: a quick second click must arrive as a second WM_LBUTTONDOWN.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &CBoardWindow::WindowProc;
    windowClass.hInstance = m_hInstance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kBoardWindowClass;
    m_nClassAtom = RegisterClassExW(&windowClass);
    if (m_nClassAtom == 0) {
        return false;
    }
    // WindowProc stores m_hWnd at WM_NCCREATE.
    if (CreateWindowExW(0, kBoardWindowClass, kBoardWindowTitle, WS_POPUP, m_rcWindow.left,
                        m_rcWindow.top, m_rcWindow.right - m_rcWindow.left,
                        m_rcWindow.bottom - m_rcWindow.top, nullptr, nullptr, m_hInstance,
                        this) == nullptr) {
        return false;
    }
    ShowWindow(m_hWnd, SW_SHOW);
    SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(m_hWnd);
    UpdateWindow(m_hWnd);
    m_log.Write({.kind = BoardEvent::Kind::Ready});
    return true;
}

LRESULT CALLBACK CBoardWindow::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == WM_NCCREATE) {
        auto* pWindow =
            static_cast<CBoardWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        pWindow->m_hWnd = hWnd;
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pWindow));
    }
    auto* pWindow = reinterpret_cast<CBoardWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pWindow == nullptr) {
        return DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }
    if (nMessage == WM_NCDESTROY) {
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        pWindow->m_hWnd = nullptr;
        return DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }
    try {
        return pWindow->OnMessage(nMessage, wParam, lParam);
    } catch (...) {
        // No exception may cross the system's frames; a board that lost a log line must not
        // look healthy, so it ends with a failure.
        PostQuitMessage(kBoardExitFailure);
        return 0;
    }
}

LRESULT CBoardWindow::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) {
    switch (nMessage) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT draws everything, background included
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ++m_nPresses;
            OnButton(BoardEvent::Kind::Down, lParam);
            return 0;
        case WM_LBUTTONUP:
            OnButton(BoardEvent::Kind::Up, lParam);
            return 0;
        case WM_WINDOWPOSCHANGING: {
            // The board stands in for the desktop: it stays below every other window, even when
            // a click makes it the active one, so the windows of the program under test (and
            // their markers) are never hidden behind it.
            auto* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
            pPos->hwndInsertAfter = HWND_BOTTOM;
            pPos->flags &= ~static_cast<UINT>(SWP_NOZORDER);
            break;
        }
        case WM_SETTINGCHANGE:
            m_log.Write({.kind = BoardEvent::Kind::Setting, .nValue = wParam});
            break;
        case kBoardMsgShowPicture:
            return OnShowPicture(wParam, lParam != 0);
        case kBoardMsgMovePicture:
            return OnMovePicture(wParam, {static_cast<int16_t>(LOWORD(lParam)),
                                          static_cast<int16_t>(HIWORD(lParam))});
        case kBoardMsgPressCount:
            return static_cast<LRESULT>(m_nPresses);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_hWnd, nMessage, wParam, lParam);
}

void CBoardWindow::OnPaint() {
    const CPaint paint(m_hWnd);
    const RECT& rcArea = paint.Area();
    const int nWidth = rcArea.right - rcArea.left;
    const int nHeight = rcArea.bottom - rcArea.top;
    if (nWidth <= 0 || nHeight <= 0) {
        return;
    }
    // Drawn off screen first, so a grab in the middle of a repaint never sees a picture missing
    // from a place where it stays.
    const CMemoryDc memoryDc(CreateCompatibleDC(paint.Dc()));
    const CBitmap bitmap(CreateCompatibleBitmap(paint.Dc(), nWidth, nHeight));
    if (!memoryDc || !bitmap) {
        DrawInto(paint.Dc(), rcArea, {0, 0});
        return;
    }
    {
        const CSelection selection(memoryDc.get(), bitmap.get());
        DrawInto(memoryDc.get(), rcArea, {rcArea.left, rcArea.top});
        BitBlt(paint.Dc(), rcArea.left, rcArea.top, nWidth, nHeight, memoryDc.get(), 0, 0, SRCCOPY);
    }
}

void CBoardWindow::DrawInto(HDC hdc, const RECT& rcArea, POINT ptOrigin) const {
    const RECT rcFill{rcArea.left - ptOrigin.x, rcArea.top - ptOrigin.y, rcArea.right - ptOrigin.x,
                      rcArea.bottom - ptOrigin.y};
    SetDCBrushColor(hdc, kBackground);
    FillRect(hdc, &rcFill, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    for (const BoardPicture& picture : m_pictures) {
        if (!picture.bVisible || picture.pixels.IsEmpty()) {
            continue;
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = picture.pixels.Width();
        info.bmiHeader.biHeight = -picture.pixels.Height();  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const RECT rcPicture = ClientRectOf(picture);
        SetDIBitsToDevice(hdc, rcPicture.left - ptOrigin.x, rcPicture.top - ptOrigin.y,
                          static_cast<DWORD>(picture.pixels.Width()),
                          static_cast<DWORD>(picture.pixels.Height()), 0, 0, 0,
                          static_cast<UINT>(picture.pixels.Height()), picture.pixels.Data(), &info,
                          DIB_RGB_COLORS);
    }
}

void CBoardWindow::OnButton(BoardEvent::Kind kind, LPARAM lParam) {
    POINT pt{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
    ClientToScreen(m_hWnd, &pt);
    m_log.Write({.kind = kind, .x = pt.x, .y = pt.y});
}

LRESULT CBoardWindow::OnShowPicture(WPARAM nIndex, bool bShow) {
    if (nIndex >= m_pictures.size()) {
        return 0;
    }
    BoardPicture& picture = m_pictures[nIndex];
    picture.bVisible = bShow;
    RepaintAt(ClientRectOf(picture));
    m_log.Write(
        {.kind = bShow ? BoardEvent::Kind::Show : BoardEvent::Kind::Hide, .nValue = nIndex});
    return 1;
}

LRESULT CBoardWindow::OnMovePicture(WPARAM nIndex, Point topLeft) {
    if (nIndex >= m_pictures.size()) {
        return 0;
    }
    BoardPicture& picture = m_pictures[nIndex];
    const RECT rcBefore = ClientRectOf(picture);
    picture.topLeft = topLeft;
    InvalidateRect(m_hWnd, &rcBefore, FALSE);
    RepaintAt(ClientRectOf(picture));
    m_log.Write({.kind = BoardEvent::Kind::Move, .x = topLeft.x, .y = topLeft.y, .nValue = nIndex});
    return 1;
}

RECT CBoardWindow::ClientRectOf(const BoardPicture& picture) const {
    POINT pt{picture.topLeft.x, picture.topLeft.y};
    ScreenToClient(m_hWnd, &pt);
    return {pt.x, pt.y, pt.x + picture.pixels.Width(), pt.y + picture.pixels.Height()};
}

void CBoardWindow::RepaintAt(const RECT& rcClient) {
    InvalidateRect(m_hWnd, &rcClient, FALSE);
    UpdateWindow(m_hWnd);
}
