// The monitors and the virtual screen as the system reports them now (the Win32 half of the
// desktop layout).
#pragma once

#include "engine/DesktopCoords.h"

// Every monitor with its rectangle, work area and primary flag (EnumDisplayMonitors and
// GetMonitorInfoW), in the order the system lists them; when the system lists none, the virtual
// screen as one primary monitor. Read afresh on every call: a monitor may be switched off or
// moved while the program runs.
DesktopLayout ReadDesktopLayout();
// The same into `layout`, reusing its storage, so that a play tick that reads the layout again
// allocates nothing while the number of monitors stays.
void ReadDesktopLayout(DesktopLayout& layout);

// The virtual screen: SM_XVIRTUALSCREEN, SM_YVIRTUALSCREEN, SM_CXVIRTUALSCREEN and
// SM_CYVIRTUALSCREEN as a rectangle in desktop pixels.
Rect ReadVirtualScreen();
