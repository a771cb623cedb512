// Start-up and shut-down of the application.
#include "app/TarvikApp.h"

#include "app/GdiplusSession.h"
#include "framework/UserPrompts.h"
#include "ui/SnipDlg.h"

#include <commctrl.h>

#include <filesystem>
#include <vector>

namespace {

// The executable's file name without its extension: the caption of the framework's messages.
std::wstring ApplicationTitle() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return L"Tarvik";
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length)).stem().wstring();
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

bool CTarvikApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0xFF;
    ::InitCommonControlsEx(&controls);
    SetAppTitle(ApplicationTitle());

    const CGdiplusSession gdiplus;
    {
        CSnipDlg mainDlg;
        mainDlg.SetInstanceGuard(&m_instanceGuard);
        mainDlg.DoModal(nullptr);
    }
    return false;
}
