// The tiles' tooltip: one tool per tile, identified by the tile's window.
#include "capture/TileToolTip.h"

#include <commctrl.h>

namespace {

// The tool of tile `hTile`, which the list view holds.
TOOLINFOW ToolOf(HWND hListView, HWND hTile) {
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = hListView;
    info.uId = reinterpret_cast<UINT_PTR>(hTile);
    return info;
}

}  // namespace

CTileToolTip::~CTileToolTip() {
    Destroy();
}

bool CTileToolTip::Create(HWND hListView) {
    Destroy();
    m_hListView = hListView;
    // TTS_ALWAYSTIP: the panel is often not the active window (Play, a game in front).
    m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hListView, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

void CTileToolTip::Destroy() {
    if (m_hWnd != nullptr) {
        ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
}

void CTileToolTip::SetTileText(HWND hTile, const std::wstring& strText) {
    if (m_hWnd == nullptr || hTile == nullptr) {
        return;
    }
    // Asked without a text buffer: the tool's old text is not copied anywhere.
    TOOLINFOW query = ToolOf(m_hListView, hTile);
    const bool bKnown =
        ::SendMessageW(m_hWnd, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&query)) != 0;
    TOOLINFOW info = ToolOf(m_hListView, hTile);
    std::wstring strCopy = strText;
    info.lpszText = strCopy.data();
    if (bKnown) {
        ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        return;
    }
    // TTF_SUBCLASS: the tooltip sees the tile's mouse messages itself.
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CTileToolTip::RemoveTile(HWND hTile) {
    if (m_hWnd == nullptr || hTile == nullptr) {
        return;
    }
    TOOLINFOW info = ToolOf(m_hListView, hTile);
    ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}
