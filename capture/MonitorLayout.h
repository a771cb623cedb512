// ReadMonitorLayout: the monitors of the desktop as the system reports them now (Win32).
#pragma once

#include "engine/DesktopCoords.h"

// Every monitor with its rectangle and work area in desktop pixels, in the order
// EnumDisplayMonitors lists them. Should the system list none, the virtual screen stands in as
// the one, primary, monitor, so callers always have somewhere to put a window.
DesktopLayout ReadMonitorLayout();
