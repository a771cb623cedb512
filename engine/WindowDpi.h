// The one place the program reads a window's DPI (the Win32 half of the display scale).
#pragma once

#include "engine/DpiScale.h"

#include <windows.h>

// The scale of `hWnd`'s monitor: GetDpiForWindow where the system has it (Windows 10 1607 and
// later), else the screen's LOGPIXELSX. A null window gives the system's DPI.
CDpiScale WindowScale(HWND hWnd);

// Makes every WindowScale answer `nDpi` until the override is cleared with 0: the tests' way to
// lay windows out at a DPI the system does not have (Wine has one DPI for every monitor).
void OverrideWindowDpiForTest(int nDpi);
