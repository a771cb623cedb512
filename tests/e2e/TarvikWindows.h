// Reading Tarvik's windows from outside its process: controls, tiles, boxes, file dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Child ids of the main window.
inline constexpr int kIdSelectTarget = 129;
inline constexpr int kIdPlay = 1025;
inline constexpr int kIdFile = 1012;
inline constexpr int kIdEdit = 1032;
inline constexpr int kIdHelp = 1033;
inline constexpr int kIdToFlyWindow = 1013;
inline constexpr int kIdHidePanel = 1018;
// The list view keeps the child id 2 of earlier versions.
inline constexpr int kIdTargetList = 2;
// The static that holds a message box's text, and the file name field of the file dialogs.
inline constexpr int kIdMessageBoxText = 0xFFFF;
inline constexpr int kIdFileNameField = 1148;

std::wstring ClassNameOf(HWND hWnd);
// The window's text through WM_GETTEXT, which also works for edit fields of another process.
std::wstring TextOf(HWND hWnd);

// Top-level windows of a process, in z-order.
std::vector<HWND> TopLevelWindowsOf(DWORD nProcessId);
// Direct children of a window, in z-order.
std::vector<HWND> ChildrenOf(HWND hParent);
// The first descendant (any depth) with this control id and, if given, this class.
HWND FindDescendant(HWND hParent, int nId, const wchar_t* pszClass = nullptr);

RECT ScreenRectOf(HWND hWnd);
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hChild);
SIZE ClientSizeOf(HWND hWnd);
POINT ClientToScreenPoint(HWND hWnd, POINT pt);
POINT CentreOf(const RECT& rc);
inline int WidthOf(const RECT& rc) {
    return rc.right - rc.left;
}
inline int HeightOf(const RECT& rc) {
    return rc.bottom - rc.top;
}
// "(left, top) width x height", for readable comparisons in test failures.
std::string RectText(const RECT& rc);

// The tiles of the target list view (its child windows), in list-view client coordinates,
// sorted from top to bottom.
std::vector<RECT> TileRects(HWND hListView);

// A visible dialog ("#32770") of the process other than `hMain`, with this caption (any caption
// when null); null when there is none.
HWND FindDialog(DWORD nProcessId, HWND hMain, const wchar_t* pszCaption = nullptr);
// The edit field where the user types the file name in a file dialog, or null.
HWND FileNameFieldOf(HWND hDialog);
// The file dialog of the process (a dialog with a file name field), or null.
HWND FindFileDialog(DWORD nProcessId);
// The visible popup menu ("#32768") of the process, or null.
HWND FindPopupMenu(DWORD nProcessId);
// The text of a message box, or of every non-empty static when it has no standard text field.
std::wstring MessageBoxTextOf(HWND hBox);

// The number of handles Tarvik's owners hold, asked with the registered message
// "Tarvik.LiveHandleCount"; nothing when the window does not answer in time.
std::optional<long> LiveHandleCount(HWND hMain);
