// Reads the monitor layout and the virtual screen from the system.
#include "engine/MonitorLayout.h"

#include <windows.h>

namespace {

Rect ToRect(const RECT& rc) {
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    // A monitor switched off between the enumeration and this call is left out.
    if (::GetMonitorInfoW(hMonitor, &info)) {
        reinterpret_cast<DesktopLayout*>(lParam)->monitors.push_back(
            MonitorArea{ToRect(info.rcMonitor), ToRect(info.rcWork),
                        (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

}  // namespace

DesktopLayout ReadDesktopLayout() {
    DesktopLayout layout;
    ReadDesktopLayout(layout);
    return layout;
}

void ReadDesktopLayout(DesktopLayout& layout) {
    layout.monitors.clear();
    if (!::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout))) {
        layout.monitors.clear();
    }
    if (layout.monitors.empty()) {
        // Nothing listed (a failed call): the virtual screen counts as one monitor, so that a
        // grab is not all black and the panel's default place stays on the screen.
        const Rect rcVirtual = ReadVirtualScreen();
        layout.monitors.push_back(MonitorArea{rcVirtual, rcVirtual, true});
    }
}

Rect ReadVirtualScreen() {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Rect{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}
