// Start-up and shut-down of the application.
#include "app/TarvikApp.h"

#include "app/ComApartment.h"
#include "app/GdiplusSession.h"
#include "app/ModuleFileName.h"
#include "framework/UserPrompts.h"
#include "ui/SnipDlg.h"

#include <commctrl.h>

#include <filesystem>

namespace {

// A start that keeps finding a running instance that is gone by the time of its hand-over gives
// up after this many tries rather than loop.
constexpr int kMaxStartRounds = 3;

// The executable's file name without its extension: the caption of the framework's messages.
std::wstring ApplicationTitle() {
    const std::wstring strPath = ModuleFileName();
    return strPath.empty() ? L"Tarvik" : std::filesystem::path(strPath).stem().wstring();
}

}  // namespace

bool CTarvikApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0xFF;
    ::InitCommonControlsEx(&controls);
    SetAppTitle(ApplicationTitle());

    // The panel's thread opens the help page and the web site with ShellExecuteW.
    const CComApartment com;
    const CGdiplusSession gdiplus;
    // A later start hands its file over only once its panel is gone: while it waits or shows a
    // message, nothing of it may answer the end of the session as a first instance would. When
    // the running instance went away meanwhile, this start runs as the first after all.
    for (int nRound = 0; nRound < kMaxStartRounds; ++nRound) {
        bool bLaterStart = false;
        {
            CSnipDlg mainDlg;
            mainDlg.SetInstanceGuard(&m_instanceGuard);
            mainDlg.DoModal(nullptr);
            bLaterStart = mainDlg.IsSecondInstance();
        }
        if (!bLaterStart || m_instanceGuard.HandOver() != HandOverResult::RunningGone) {
            break;
        }
    }
    return false;
}
