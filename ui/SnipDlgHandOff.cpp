// The panel's side of the single-instance hand-off, and the end of the Windows session.
#include "app/InstanceGuard.h"
#include "app/StartupSettings.h"
#include "ui/SnipDlg.h"

namespace {

// A handed-over file opens one watcher round after it came; this start's own file a little
// after set-up.
constexpr UINT kHandOffOpenMs = 100;
constexpr UINT kOwnFileOpenMs = 200;

// Clears a flag when the scope ends, however it ends.
class CFlagScope {
public:
    explicit CFlagScope(bool& bFlag) : m_bFlag(bFlag) { m_bFlag = true; }
    ~CFlagScope() { m_bFlag = false; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_bFlag;
};

}  // namespace

bool CSnipDlg::StartInstanceGuard() {
    if (m_pInstanceGuard == nullptr) {
        return true;
    }
    if (!m_pInstanceGuard->Start(m_hWnd)) {
        // Another instance runs: marked before any message can reach the panel, so that neither
        // the close sequence nor the end of the session saves anything here. The close sequence
        // ends the panel as soon as the message loop runs; the file is handed over after it.
        m_bSecondInstance = true;
        PostMessage(WM_CLOSE);
        return false;
    }
    std::wstring strEarlyFile = m_pInstanceGuard->Register(m_hWnd);
    if (!strEarlyFile.empty()) {
        m_pendingFiles.push_front(std::move(strEarlyFile));
        SetTimer(IDT_OPEN_PENDING, kOwnFileOpenMs);
    }
    return true;
}

void CSnipDlg::OnHandOff() {
    if (m_pInstanceGuard == nullptr) {
        return;
    }
    while (std::optional<std::wstring> file = m_pInstanceGuard->TakeHandedFile()) {
        m_pendingFiles.push_back(std::move(*file));
    }
    // While a Load waits for the user, the next file waits for it (OpenPendingFile re-arms).
    if (!m_pendingFiles.empty() && !m_bOpeningPending) {
        SetTimer(IDT_OPEN_PENDING, kHandOffOpenMs);
    }
}

// True while the user is in the middle of something a Load must not pull the list from under:
// one of the panel's dialogs (the Target Editor, the capture overlay, a file dialog, a question),
// a tile's menu, or a drag (a tile also holds the capture while merely hovered, which does not
// count). Timers still run then, inside those loops.
bool CSnipDlg::IsBusyWithUser() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const bool bInMenu = ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) &&
                         (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0;
    const bool bDragging =
        ::GetCapture() != nullptr && (::GetAsyncKeyState(PrimaryButtonKey()) & 0x8000) != 0;
    return !::IsWindowEnabled(m_hWnd) || bInMenu || bDragging;
}

void CSnipDlg::OpenPendingFile() {
    KillTimer(IDT_OPEN_PENDING);
    if (m_bOpeningPending || m_pendingFiles.empty()) {
        return;
    }
    if (IsBusyWithUser()) {
        // The file opens once the user is done: replacing the list now would destroy the
        // target a dialog or a tile's menu is working on.
        SetTimer(IDT_OPEN_PENDING, kHandOffOpenMs);
        return;
    }
    m_strPendingFile = std::move(m_pendingFiles.front());
    m_pendingFiles.pop_front();
    {
        const CFlagScope opening(m_bOpeningPending);
        LoadTargetList(std::wstring(m_strPendingFile));
    }
    if (!m_pendingFiles.empty() && m_hWnd != nullptr) {
        SetTimer(IDT_OPEN_PENDING, kHandOffOpenMs);
    }
}

LRESULT CSnipDlg::OnQueryEndSession(WPARAM, LPARAM) {
    return TRUE;
}

LRESULT CSnipDlg::OnEndSession(WPARAM wParam, LPARAM) {
    // Windows ends the process after this without WM_CLOSE: what the close sequence saves is
    // saved here, or every change since the last autosave is lost.
    if (wParam == FALSE || m_bSecondInstance) {
        return 0;
    }
    if (m_play.ClickSequence().IsClicking()) {
        EndClick();
    }
    const RECT rc = GetWindowRect();
    WritePanelPlace(m_settingsKey, rc.left, rc.top, rc.right, rc.bottom);
    SaveDefaultFile();
    return 0;
}
