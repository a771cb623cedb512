// The main panel: construction, set-up, controls, view modes, commands and the close sequence.
#include "ui/SnipDlg.h"

#include "app/InstanceGuard.h"
#include "app/StartupSettings.h"
#include "engine/MonitorLayout.h"
#include "engine/SightWnd.h"
#include "engine/WindowDpi.h"
#include "framework/ButtonCtrl.h"
#include "framework/HandleCounts.h"
#include "framework/MenuHandle.h"
#include "ui/AboutDlg.h"
#include "ui/FlyWnd.h"
#include "ui/HelpPage.h"
#include "ui/PanelGeometry.h"

#include <shellapi.h>

#include <limits>

namespace {

// Places at 96 DPI; the panel scales their edges, so buttons that touch keep touching.
struct CButtonPlace {
    int nId;
    int x, y, cx, cy;
};
constexpr CButtonPlace kButtonPlaces[] = {
    {IDC_SELECT_TARGET, 5, 30, 60, 38}, {IDC_PLAY, 65, 30, 60, 38},
    {IDC_FILE_MENU, 5, 70, 34, 24},     {IDC_EDIT, 48, 70, 34, 24},
    {IDC_HELP_MENU, 91, 70, 34, 24},    {IDC_FLY_WINDOW, 86, 3, 20, 20},
    {IDC_HIDE_PANEL, 105, 3, 20, 20},
};

// Icon sizes at 96 DPI. The small icons are SM_CXSMICON at 96 DPI: the metric itself follows the
// system's DPI, not the panel's monitor.
constexpr int kSmallIconSize = 16;
constexpr int kTitleButtonIconSize = 12;
constexpr int kPlayIconSize = 24;

// The panel's minimum and maximum tracking sizes at 96 DPI.
constexpr POINT kMinTrackSize{150, 400};
constexpr POINT kMaxTrackSize{150, 1200};

// Moves `hWnd` (size and z-order kept) so that its head is on a work area of `layout`.
void KeepWindowOnWorkArea(HWND hWnd, int nHeadHeight, const DesktopLayout& layout) {
    RECT rc{};
    if (hWnd == nullptr || !::GetWindowRect(hWnd, &rc)) {
        return;
    }
    const Rect rcWindow{rc.left, rc.top, rc.right, rc.bottom};
    const Rect rcKept = KeepOnWorkArea(rcWindow, nHeadHeight, layout);
    if (rcKept != rcWindow) {
        ::SetWindowPos(hWnd, nullptr, rcKept.left, rcKept.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

UINT LiveHandleCountMessage() {
    static const UINT s_uMessage = ::RegisterWindowMessageW(kLiveHandleCountMessage);
    return s_uMessage;
}

}  // namespace

CSnipDlg::CSnipDlg()
    : CDialogImpl<CSnipDlg>(IDD_TARVIK_DIALOG),
      m_hIconSmall(CIcon::Load(IDR_MAINFRAME, ::GetSystemMetrics(SM_CXSMICON),
                               ::GetSystemMetrics(SM_CYSMICON))),
      m_hIconBig(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_hCurSizeNS(::LoadCursorW(nullptr, IDC_SIZENS)),
      m_hCurArrow(::LoadCursorW(nullptr, IDC_ARROW)),
      m_settingsKey(CRegistryKey::Settings()) {}

CSnipDlg::~CSnipDlg() = default;

BOOL CSnipDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetIcon(m_hIconBig, true);
    SetIcon(m_hIconSmall.Get(), false);
    // The taskbar button's text; the panel draws no caption.
    SetWindowText(L"Tarvik");

    if (!StartInstanceGuard()) {
        // A second start only hands over its file: no list, tray icon, settings or windows.
        return TRUE;
    }

    m_scale = WindowScale(m_hWnd);
    m_dragTracker.SetScale(m_scale);
    m_wndTargetList.SetHosts(*this, *this);
    m_wndTargetList.SetScale(m_scale);
    const int nClientHeight = GetClientRect().bottom;
    const Rect rcList = ListViewRect(nClientHeight, m_scale);
    m_wndTargetList.CreateListView(RECT{rcList.left, rcList.top, rcList.right, rcList.bottom},
                                   m_hWnd);
    m_wndTargetList.SetVisibleHeight(TileAreaHeight(nClientHeight, m_scale));
    m_trayIcon.Add(m_hWnd, WM_TRAYNOTIFY, m_hIconSmall.Get());

    m_pFlyWnd = std::make_unique<CFlyWnd>(*this);
    m_pFlyWnd->Create(m_hWnd);
    m_pSightWnd = std::make_unique<CSightWnd>();
    m_pSightWnd->Create(m_hWnd);

    LoadButtonImages();
    m_hTitleBitmap = CGdiObject<HBITMAP>(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TITLE), IMAGE_BITMAP, 0, 0, 0)));
    LayoutControls();

    LoadDefaultFile();
    ApplyStartupSettings();
    ApplyPlayHotkey();
    SetTimer(IDT_PLAY_TICK, kPlayTickMs);
    SetTimer(IDT_DISPLAY_CHECK, kDisplayCheckMs);
    return TRUE;
}

void CSnipDlg::LoadButtonImages() {
    const auto load = [this](UINT uId, int nSize) {
        const int nScaled = m_scale.Scale(nSize);
        return CIcon::Load(uId, nScaled, nScaled);
    };
    // The buttons borrow the icons: the new ones go in before the old ones are destroyed.
    CIcon iconSelect = load(IDI_SELECT_TARGET, kSmallIconSize);
    CIcon iconFile = load(IDI_FILE, kSmallIconSize);
    CIcon iconEdit = load(IDI_SETTINGS, kSmallIconSize);
    CIcon iconHelp = load(IDI_HELP, kSmallIconSize);
    CIcon iconFly = load(IDI_FLY_WINDOW, kTitleButtonIconSize);
    CIcon iconHide = load(IDI_HIDE_PANEL, kTitleButtonIconSize);
    CIcon iconPlay = load(IDI_PLAY, kPlayIconSize);
    CIcon iconPlaying = load(IDI_PLAYING, kPlayIconSize);
    CIcon iconPlayDisabled = load(IDI_PLAY_DISABLED, kPlayIconSize);

    const auto setImage = [this](int nId, const CIcon& icon) {
        CButtonCtrl(GetDlgItem(nId)).SetIcon(icon.Get());
    };
    setImage(IDC_SELECT_TARGET, iconSelect);
    setImage(IDC_FILE_MENU, iconFile);
    setImage(IDC_EDIT, iconEdit);
    setImage(IDC_HELP_MENU, iconHelp);
    setImage(IDC_FLY_WINDOW, iconFly);
    setImage(IDC_HIDE_PANEL, iconHide);
    m_iconSelect = std::move(iconSelect);
    m_iconFile = std::move(iconFile);
    m_iconEdit = std::move(iconEdit);
    m_iconHelp = std::move(iconHelp);
    m_iconFly = std::move(iconFly);
    m_iconHide = std::move(iconHide);
    // Play's icon tells its state; the button is given its new one before the old ones go.
    std::swap(m_iconPlay, iconPlay);
    std::swap(m_iconPlaying, iconPlaying);
    std::swap(m_iconPlayDisabled, iconPlayDisabled);
    UpdatePlayButton();
}

void CSnipDlg::LayoutControls() {
    for (const CButtonPlace& place : kButtonPlaces) {
        const Rect rc =
            m_scale.Scale(Rect{place.x, place.y, place.x + place.cx, place.y + place.cy});
        ::SetWindowPos(GetDlgItem(place.nId), nullptr, rc.left, rc.top, rc.right - rc.left,
                       rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_wndTargetList) {
        const int nClientHeight = GetClientRect().bottom;
        const Rect rc = ListViewRect(nClientHeight, m_scale);
        m_wndTargetList.SetVisibleHeight(TileAreaHeight(nClientHeight, m_scale));
        m_wndTargetList.SetWindowPos(nullptr, rc.left, rc.top, rc.right - rc.left,
                                     rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CSnipDlg::ApplyStartupSettings() {
    const CStartupSettings settings = ReadStartupSettings(m_settingsKey);
    m_bMetroMode = settings.nMetroMode;
    m_play.SetMetroMode(m_bMetroMode != 0);
    m_monitorLayout = ReadDesktopLayout();
    const PanelPlacement placement = ComputeStartupPlacement(
        settings.nMainTop, settings.nMainLeft, settings.nMainHeight, m_monitorLayout, m_scale);
    const Rect& rc = placement.rcPanel;
    SetWindowPos(nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
    if (placement.bMoveFlyWindow && m_pFlyWnd) {
        m_pFlyWnd->SetWindowPos(HWND_TOP, rc.left, rc.top, 0, 0, SWP_NOSIZE);
    }
    SetViewMode(StartupViewMode(settings.nStartupViewMode));
    if (settings.nAutoPlay == 1) {
        m_play.StartQuietly();
        UpdatePlayButton();
    }
}

void CSnipDlg::SetViewMode(int nMode) {
    m_nViewMode = nMode;
    if (nMode == kViewCommon) {
        if (m_pFlyWnd) {
            m_pFlyWnd->ShowWindow(SW_HIDE);
        }
        ShowWindow(SW_SHOW);
    } else if (nMode == kViewFlyWindow) {
        if (m_pFlyWnd) {
            const RECT rc = GetWindowRect();
            m_pFlyWnd->SetWindowPos(HWND_TOP, rc.left, rc.top, 0, 0, SWP_NOSIZE);
            m_pFlyWnd->ShowWindow(SW_SHOW);
        }
        ShowWindow(SW_HIDE);
    }
    // Tray mode: the panel stays hidden (see OnWindowPosChanging); the fly window is left as is.
}

void CSnipDlg::ShowPanelFromTray(int nShowCommand) {
    m_nViewMode = kViewCommon;
    if (m_pFlyWnd) {
        m_pFlyWnd->ShowWindow(SW_HIDE);
    }
    ShowWindow(nShowCommand);
}

int CSnipDlg::ShowSightForTest(int x, int y) {
    if (!m_bMetroMode && m_pSightWnd) {
        m_pSightWnd->PlaceAndShow(x, y);
    }
    SetTimer(IDT_HIDE_SIGHT, 2000);
    return 1;
}

bool CSnipDlg::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (uMsg == LiveHandleCountMessage()) {
        lResult = CHandleCounts::Total();
        return true;
    }
    if (uMsg == HandOffMessage()) {
        OnHandOff();
        lResult = 0;
        return true;
    }
    return CDialogImpl<CSnipDlg>::OnMessage(uMsg, wParam, lParam, lResult);
}

void CSnipDlg::OnSize(UINT, SIZE size) {
    Default();
    if (m_wndTargetList) {
        const Rect rc = ListViewRect(size.cy, m_scale);
        m_wndTargetList.SetVisibleHeight(TileAreaHeight(size.cy, m_scale));
        m_wndTargetList.SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CSnipDlg::OnDpiChanged(UINT nDpi, const RECT& rcSuggested) {
    m_scale = CDpiScale(static_cast<int>(nDpi));
    m_dragTracker.SetScale(m_scale);
    m_wndTargetList.SetScale(m_scale);
    // The suggested rectangle keeps the panel's place on the new monitor at its new size; the
    // WM_SIZE it brings places the list view at the new scale.
    SetWindowPos(nullptr, rcSuggested.left, rcSuggested.top, rcSuggested.right - rcSuggested.left,
                 rcSuggested.bottom - rcSuggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
    LoadButtonImages();
    if (m_wndTargetList) {
        m_wndTargetList.RelayoutTiles();
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSnipDlg::OnDisplayChange(UINT, SIZE) {
    KeepWindowsOnMonitors(true);
}

void CSnipDlg::KeepWindowsOnMonitors(bool bAlways) {
    DesktopLayout layout = ReadDesktopLayout();
    if (!bAlways && layout.monitors == m_monitorLayout.monitors) {
        return;
    }
    // A monitor may have gone with the panel or the fly window on it: both come back where the
    // user can reach them, shown or not.
    KeepWindowOnWorkArea(m_hWnd, m_scale.Scale(kPanelHeadHeight), layout);
    if (m_pFlyWnd) {
        // The fly window is dragged by any of its pixels: all of it counts as its head.
        KeepWindowOnWorkArea(m_pFlyWnd->GetSafeHwnd(), std::numeric_limits<int>::max(), layout);
    }
    m_monitorLayout = std::move(layout);
}

LRESULT CSnipDlg::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
    auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
    pInfo->ptMinTrackSize = POINT{m_scale.Scale(kMinTrackSize.x), m_scale.Scale(kMinTrackSize.y)};
    pInfo->ptMaxTrackSize = POINT{m_scale.Scale(kMaxTrackSize.x), m_scale.Scale(kMaxTrackSize.y)};
    return Default();
}

LRESULT CSnipDlg::OnWindowPosChanging(WPARAM, LPARAM lParam) {
    // Outside the Common view mode nothing may show the panel, not even the dialog manager
    // after set-up; a second start never shows its panel at all.
    if (m_nViewMode != kViewCommon || m_bSecondInstance) {
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    }
    return Default();
}

LRESULT CSnipDlg::OnLButtonDblClk(WPARAM, LPARAM) {
    OnFlyWindowButton();
    return 0;
}

UINT CSnipDlg::TrackButtonMenu(int nButtonId, HMENU hMenu) {
    const HWND hButton = GetDlgItem(nButtonId);
    RECT rc{};
    ::GetClientRect(hButton, &rc);
    ::MapWindowPoints(hButton, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return static_cast<UINT>(
        ::TrackPopupMenu(hMenu, TPM_RETURNCMD, rc.left, rc.bottom, 0, m_hWnd, nullptr));
}

void CSnipDlg::OnFileButton() {
    CMenuHandle menu = CMenuHandle::CreatePopup();
    if (!menu) {
        return;
    }
    ::AppendMenuW(menu.Get(), MF_STRING, ID_FILE_NEW, L"&New");
    ::AppendMenuW(menu.Get(), MF_STRING, ID_FILE_LOAD, L"&Load...");
    ::AppendMenuW(menu.Get(), MF_STRING, ID_FILE_SAVE, L"&Save...");
    const UINT uChosen = TrackButtonMenu(IDC_FILE_MENU, menu.Get());
    menu = CMenuHandle();
    switch (uChosen) {
        case ID_FILE_NEW:
            NewTargetList();
            break;
        case ID_FILE_LOAD:
            LoadTargetList(std::wstring());
            break;
        case ID_FILE_SAVE:
            SaveTargetListAs();
            break;
        default:
            break;
    }
}

void CSnipDlg::OnHelpButton() {
    CMenuHandle menu = CMenuHandle::CreatePopup();
    if (!menu) {
        return;
    }
    ::AppendMenuW(menu.Get(), MF_STRING, ID_HELP_HELP, L"&Help");
    ::AppendMenuW(menu.Get(), MF_STRING, ID_HELP_ABOUT, L"&About...");
    const UINT uChosen = TrackButtonMenu(IDC_HELP_MENU, menu.Get());
    menu = CMenuHandle();
    if (uChosen == ID_HELP_HELP) {
        OpenHelpPage();
    } else if (uChosen == ID_HELP_ABOUT) {
        ShowAboutBox();
    }
}

std::optional<std::filesystem::path> CSnipDlg::HelpPageFolder() const {
    const auto path = DefaultFilePath(true);
    return path ? std::optional(path->parent_path()) : std::nullopt;
}

void CSnipDlg::OpenHelpPage() const {
    const auto folder = HelpPageFolder();
    const auto page = folder ? WriteHelpPage(*folder) : std::nullopt;
    if (page) {
        // SW_SHOW, not SW_HIDE: a browser that starts with the show command it is given would
        // open the page in a hidden window. COM is initialised for this thread at start-up.
        ::ShellExecuteW(nullptr, L"open", page->c_str(), nullptr, nullptr, SW_SHOW);
    }
}

void CSnipDlg::ShowAboutBox() {
    if (m_bAboutShown) {
        return;
    }
    m_bAboutShown = true;
    CAboutDlg dlg(HelpPageFolder());
    dlg.DoModal(m_hWnd);
    m_bAboutShown = false;
}

void CSnipDlg::OnFlyWindowButton() {
    SetViewMode(kViewFlyWindow);
}

void CSnipDlg::OnHidePanel() {
    ShowWindow(SW_HIDE);
}

void CSnipDlg::OnTrayShow() {
    ShowPanelFromTray(SW_RESTORE);
}

void CSnipDlg::OnTrayExit() {
    m_trayIcon.Remove();
    PostMessage(WM_CLOSE);
}

LRESULT CSnipDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != CTrayIcon::kIconId) {
        return 0;
    }
    if (lParam == WM_LBUTTONDBLCLK) {
        ShowPanelFromTray(SW_SHOW);
        return 1;
    }
    if (lParam != WM_RBUTTONUP) {
        return 0;
    }
    CMenuHandle menu = CMenuHandle::Load(IDR_TRAY_MENU);
    const HMENU hPopup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
    if (hPopup == nullptr) {
        return 0;
    }
    ::SetMenuDefaultItem(hPopup, ID_TRAY_SHOW, FALSE);
    POINT pt{};
    ::GetCursorPos(&pt);
    // Take in what the window system has already sent before coming to the front: under Wine
    // the click on the tray reaches us as a late focus-out, and handled inside the menu's loop
    // it would close the menu the moment it opened.
    MSG pending{};
    ::PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE);
    ::SetForegroundWindow(m_hWnd);
    ::TrackPopupMenu(hPopup, 0, pt.x, pt.y, 0, m_hWnd, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessage(WM_NULL);
    return 1;
}

LRESULT CSnipDlg::OnClose(WPARAM, LPARAM) {
    // A second start has no list of its own: writing it would overwrite the running
    // instance's default file (or race with its writing) with an empty one.
    if (!m_bSecondInstance) {
        const RECT rc = GetWindowRect();
        WritePanelPlace(m_settingsKey, rc.left, rc.top, rc.right, rc.bottom);
        SaveDefaultFile();
    }
    if (m_pFlyWnd) {
        m_pFlyWnd->EndDialog(0);
        m_pFlyWnd.reset();
    }
    if (m_pSightWnd) {
        m_pSightWnd->EndDialog(0);
        m_pSightWnd.reset();
    }
    // Not Default(): the dialog manager would turn the close into IDCANCEL, which comes back here.
    EndDialog(IDCANCEL);
    return 0;
}

void CSnipDlg::OnOK() {
    // Through the close sequence, which saves: a stray key must not lose the list.
    SendMessage(WM_CLOSE);
}

void CSnipDlg::OnCancel() {
    SendMessage(WM_CLOSE);
}

LRESULT CSnipDlg::OnDestroy(WPARAM, LPARAM) {
    // The watcher ends first: it must not hand a file to a window that is going.
    if (m_pInstanceGuard != nullptr) {
        m_pInstanceGuard->Stop();
    }
    ReleasePlayHotkey();
    // A run ended without the close sequence (a test's EndDialog) must not leave the mouse
    // button held down after the program is gone.
    if (m_play.ClickSequence().IsClicking()) {
        EndClick();
    }
    const LRESULT lResult = Default();
    ClearAllTargets();
    m_wndTargetList.DestroyWindow();
    return lResult;
}
