// The monitor layout from EnumDisplayMonitors and GetMonitorInfoW.
#include "capture/MonitorLayout.h"

#include <windows.h>

namespace {

Rect ToRect(const RECT& rc) {
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(hMonitor, &info)) {
        reinterpret_cast<DesktopLayout*>(lParam)->monitors.push_back(
            MonitorArea{ToRect(info.rcMonitor), ToRect(info.rcWork),
                        (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

}  // namespace

DesktopLayout ReadMonitorLayout() {
    DesktopLayout layout;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&layout));
    if (layout.monitors.empty()) {
        const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        const Rect rc{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        layout.monitors.push_back(MonitorArea{rc, rc, true});
    }
    return layout;
}
