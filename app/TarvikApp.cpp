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
    {
        CSnipDlg mainDlg;
        mainDlg.SetInstanceGuard(&m_instanceGuard);
        mainDlg.DoModal(nullptr);
    }
    return false;
}
