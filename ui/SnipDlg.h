// CSnipDlg: the main panel, run modally for the whole life of the process.
#pragma once

#include "app/IInstanceGuard.h"
#include "app/RegistryKey.h"
#include "capture/ITargetEditorHost.h"
#include "capture/ITileHost.h"
#include "capture/TargetListView.h"
#include "engine/GrabBlackout.h"
#include "engine/PlayController.h"
#include "engine/ScreenGrab.h"
#include "engine/SyntheticInput.h"
#include "framework/DialogEx.h"
#include "framework/GdiObject.h"
#include "framework/Icon.h"
#include "ui/PanelDragTracker.h"
#include "ui/TrayIcon.h"

#include "resource.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class CFlyWnd;
class CSightWnd;

// The message the panel adds to its tray icon's notifications.
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 101;
// Registered message answered with the number of GDI and USER handles our owners hold: the leak
// check of the end-to-end tests, since Wine's GetGuiResources answers 0.
inline constexpr wchar_t kLiveHandleCountMessage[] = L"Tarvik.LiveHandleCount";

class CSnipDlg : public CDialogImpl<CSnipDlg>, public ITileHost, public ITargetEditorHost {
public:
    enum TimerId : UINT_PTR {
        IDT_PLAY_TICK = 9991,
        IDT_CLICK_STEP = 9992,
        IDT_HIDE_SIGHT = 9994,
        IDT_OPEN_PENDING = 9997,
        IDT_DISPLAY_CHECK = 9998,
    };
    // The id of the Play/Pause hotkey among the panel's hotkeys.
    static constexpr int kPlayHotkeyId = 1;
    enum ViewMode { kViewCommon = 0, kViewFlyWindow = 1, kViewTray = 2 };
    // The play tick's period: a search of the screen twice a second.
    static constexpr UINT kPlayTickMs = 500;
    // How often the monitors are compared with those the windows were last placed on: Wine
    // sends no WM_DISPLAYCHANGE when an output is switched off.
    static constexpr UINT kDisplayCheckMs = 1000;

    CSnipDlg();
    ~CSnipDlg() override;

    // Where the default file lives and which key holds the settings. Tests point both elsewhere
    // before the dialog is created; the program uses the application-data folder and
    // HKCU\Software\Tarvik\Tarvik.
    void SetDataFolder(std::filesystem::path folder) { m_dataFolderOverride = std::move(folder); }
    void SetSettingsKey(CRegistryKey key) { m_settingsKey = std::move(key); }
    // The single-instance guard; without one every start counts as the first. Borrowed: it must
    // outlive the panel's window.
    void SetInstanceGuard(IInstanceGuard* pGuard) { m_pInstanceGuard = pGuard; }

    // True in a start that found Tarvik running: it handed over its file and closes itself
    // without touching the default file or the stored place.
    bool IsSecondInstance() const { return m_bSecondInstance; }

    // Services other windows call.
    void SetViewMode(int nMode);
    // Only records the mode; for a window that then shows or hides the panel itself.
    void SetViewModeOnly(int nMode) { m_nViewMode = nMode; }
    HWND MainWindow() const override { return m_hWnd; }
    void UpdatePlayButton() override;
    int ShowSightForTest(int x, int y) override;

    // Grabs the screen into `screen` with the program's own windows blacked out as `mode` asks
    // (`hExtraWindow`: the Target Editor of a test). False when the screen could not be read;
    // `screen` is then black.
    bool GrabScreen(GrabMode mode, HWND hExtraWindow, DesktopImage& screen);
    // Where `target` is on the screen now (Locate, desktop pixels), or nothing; a screen or a
    // picture that cannot be read is reported. The panel (or fly window) and `hEditor` are
    // blacked out.
    std::optional<TargetHit> RecognizeTarget(const CTargetObj& target, HWND hEditor) override;
    std::optional<NearestMatch> FindNearestPlace(const CTargetObj& target, HWND hEditor) override;

    // The capture of a new target with the selection overlay.
    void CaptureTarget();

    // Target-list file commands.
    void NewTargetList();
    bool SaveTargetListAs();
    void LoadTargetList(std::wstring strPath);
    void SaveDefaultFile();
    void LoadDefaultFile();
    void ClearAllTargets();
    void CreateTargetTiles();

    CTargetObjList& TargetList() { return *m_wndTargetList.m_pTargetList; }
    CTargetListView& ListView() { return m_wndTargetList; }
    int ViewMode() const { return m_nViewMode; }
    CFlyWnd* FlyWnd() const { return m_pFlyWnd.get(); }
    // The scale the panel is laid out and drawn at: its window's DPI at set-up, then the DPI of
    // the last WM_DPICHANGED.
    const CDpiScale& Scale() const { return m_scale; }
    CSightWnd* SightWnd() const { return m_pSightWnd.get(); }
    const CClickSequence& ClickSequence() const { return m_play.ClickSequence(); }
    const CUserActivityGuard& ActivityGuard() const { return m_play.ActivityGuard(); }
    bool IsPlaying() const { return m_play.IsPlaying(); }
    // The default file's path, or nothing when the application-data folder is not available.
    std::optional<std::filesystem::path> DefaultFilePath(bool bCreateFolder) const;

protected:
    BOOL OnInitDialog() override;
    // Enter and Esc (IDOK, IDCANCEL from the dialog manager) end Tarvik as Exit does.
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void OnSize(UINT nType, SIZE size);
    // The panel moved to a monitor of another DPI: take the suggested rectangle and lay out,
    // load and draw everything again at the new scale.
    void OnDpiChanged(UINT nDpi, const RECT& rcSuggested);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    void OnDisplayChange(UINT nBitsPerPixel, SIZE size);
    // Brings the panel and the fly window back onto the work areas, by the start-up rule, when
    // the monitors differ from m_monitorLayout (always with `bAlways`), and remembers them.
    void KeepWindowsOnMonitors(bool bAlways);
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIdEvent);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);

    void OnSelectTarget();
    void OnPlay();
    void OnPlayTick(Point ptCursor);
    void OnClickStepTimer(Point ptCursor);
    bool IsUserActive(Point ptCursor);
    void ShowActivityDiagnostics();
    void PlayStep(Point ptCursor);
    void StepClick(Point ptCursor);
    void EndClick();
    // Play on (parking the pointer) or off; the button follows.
    void SetPlaying(bool bPlay);
    // Where Play parks the pointer: inside the top-left corner of the window of the view, off
    // the targets; near the desktop's (0, 0) in the tray view.
    Point ParkPoint() const;
    // The program's windows as the black-out rule sees them, desktop pixels.
    BlackoutInput BlackoutWindows(HWND hExtraWindow) const;
    void RefreshScreenSaverTimeout();
    void ShowReadFailure();
    void OnFileButton();
    void OnHelpButton();
    // The Help menu's page and the About box (tray menu and Help menu), modal over the panel.
    std::optional<std::filesystem::path> HelpPageFolder() const;
    void OpenHelpPage() const;
    // Runs the About box; does nothing while one is open (the tray menu still works then).
    void ShowAboutBox();
    void OnFlyWindowButton();
    void OnHidePanel();
    void OnTrayShow();
    void OnTrayExit();
    void OnEditSettings();
    LRESULT OnHotkey(WPARAM wParam, LPARAM lParam);
    // Registers the stored Play/Pause hotkey in place of the one held, and names it in Play's
    // tooltip.
    void ApplyPlayHotkey();
    void UpdatePlayTooltip(uint32_t nWanted);
    // Gives the hotkey back when the panel's window goes.
    void ReleasePlayHotkey();

    // False in a second instance, whose set-up then stops.
    bool StartInstanceGuard();
    // Moves the files the guard has taken into the panel's queue (hand-off message).
    void OnHandOff();
    bool IsBusyWithUser() const;
    // Timer 9997: opens the next queued file with Load.
    void OpenPendingFile();
    // The buttons' icons at the sizes their buttons have at m_scale; Play shows its state again.
    void LoadButtonImages();
    // The buttons and the list view at m_scale, for the current client height.
    void LayoutControls();
    void ApplyStartupSettings();
    void ShowPanelFromTray(int nShowCommand);
    // Runs a popup menu under a button and returns the chosen id (0: dismissed).
    UINT TrackButtonMenu(int nButtonId, HMENU hMenu);
    void ApplyMouseActions(const PanelMouseActions& actions, POINT ptClient);
    void PaintPanel(HDC hDC, const RECT& rcClient);
    void StopPlayTimers();
    // Shows a file error as the framework does: stop icon, the application's title.
    void ShowFileError(const std::u16string& strMessage);
    // Writes the current list to `path` atomically; shows the error and returns false on failure.
    bool WriteListTo(const std::filesystem::path& path);

    CDpiScale m_scale;
    int m_nViewMode = kViewCommon;
    int m_bMetroMode = 0;
    // The monitors as the panel and the fly window were last placed on them.
    DesktopLayout m_monitorLayout;
    std::wstring m_strPendingFile;
    // Handed-over files not yet opened, in the order they came; one Load at a time.
    std::deque<std::wstring> m_pendingFiles;
    bool m_bOpeningPending = false;
    bool m_bSecondInstance = false;
    // The default file was there at start-up but could not be read, nor copied aside yet.
    bool m_bDefaultFileUnread = false;

    CIcon m_hIconSmall;
    HICON m_hIconBig = nullptr;  // shared by the system (LoadIconW)
    HCURSOR m_hCurSizeNS = nullptr;
    HCURSOR m_hCurArrow = nullptr;
    CGdiObject<HBITMAP> m_hTitleBitmap;
    // The buttons' images; the buttons only borrow them.
    CIcon m_iconSelect, m_iconFile, m_iconEdit, m_iconHelp, m_iconFly, m_iconHide;
    CIcon m_iconPlay, m_iconPlaying, m_iconPlayDisabled;

    CTargetListView m_wndTargetList;
    std::unique_ptr<CFlyWnd> m_pFlyWnd;
    std::unique_ptr<CSightWnd> m_pSightWnd;
    CTrayIcon m_trayIcon;
    CPanelDragTracker m_dragTracker;

    // The play loop: the controller decides, the panel grabs and sends. The grab's bitmap and
    // buffer and the search's storage live across ticks; every tick reads the screen afresh and
    // rebuilds the search from the list as it is then, so nothing is remembered from before but
    // room.
    CPlayController m_play;
    CSyntheticMouse m_mouse;
    CScreenGrabber m_screenGrabber;
    DesktopImage m_screen;

    std::filesystem::path m_dataFolderOverride;
    CRegistryKey m_settingsKey;
    IInstanceGuard* m_pInstanceGuard = nullptr;
    // The Play/Pause hotkey registered now (0: none), and the tooltip naming it. The tooltip is
    // owned by the panel's window and goes with it.
    uint32_t m_nPlayHotkey = 0;
    HWND m_hPlayTooltip = nullptr;
    bool m_bAboutShown = false;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CSnipDlg> s_messages[] = {
        SizeEntry<&CSnipDlg::OnSize>(),
        DpiChangedEntry<&CSnipDlg::OnDpiChanged>(),
        {WM_GETMINMAXINFO, &CSnipDlg::OnGetMinMaxInfo},
        DisplayChangeEntry<&CSnipDlg::OnDisplayChange>(),
        {WM_WINDOWPOSCHANGING, &CSnipDlg::OnWindowPosChanging},
        {WM_MOUSEWHEEL, &CSnipDlg::OnMouseWheel},
        {WM_LBUTTONDBLCLK, &CSnipDlg::OnLButtonDblClk},
        {WM_LBUTTONDOWN, &CSnipDlg::OnLButtonDown},
        {WM_MOUSEMOVE, &CSnipDlg::OnMouseMove},
        {WM_LBUTTONUP, &CSnipDlg::OnLButtonUp},
        {WM_PAINT, &CSnipDlg::OnPaint},
        TimerEntry<&CSnipDlg::OnTimer>(),
        {WM_TRAYNOTIFY, &CSnipDlg::OnTrayNotify},
        {WM_HOTKEY, &CSnipDlg::OnHotkey},
        {WM_CLOSE, &CSnipDlg::OnClose},
        {WM_DESTROY, &CSnipDlg::OnDestroy},
        {WM_QUERYENDSESSION, &CSnipDlg::OnQueryEndSession},
        {WM_ENDSESSION, &CSnipDlg::OnEndSession},
    };
    static constexpr CCommandEntry<CSnipDlg> s_commands[] = {
        {IDC_SELECT_TARGET, &CSnipDlg::OnSelectTarget},  // runs the capture (SnipDlgCapture.cpp)
        {IDC_PLAY, &CSnipDlg::OnPlay},
        {IDC_FILE_MENU, &CSnipDlg::OnFileButton},
        {IDC_HELP_MENU, &CSnipDlg::OnHelpButton},
        {IDC_EDIT, &CSnipDlg::OnEditSettings},  // SnipDlgSettings.cpp
        {IDC_FLY_WINDOW, &CSnipDlg::OnFlyWindowButton},
        {IDC_HIDE_PANEL, &CSnipDlg::OnHidePanel},
        {ID_TRAY_SHOW, &CSnipDlg::OnTrayShow},
        {ID_TRAY_EXIT, &CSnipDlg::OnTrayExit},
        {ID_TRAY_ABOUT, &CSnipDlg::ShowAboutBox},
    };
};
