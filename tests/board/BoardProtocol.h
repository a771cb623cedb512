// What TargetBoard.exe and the harnesses that drive it agree on: command line, window, messages
// and the lines of its log. Free of <windows.h>, so the log parser builds on any platform.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr wchar_t kBoardExeName[] = L"TargetBoard.exe";

// Command line: TargetBoard.exe --log FILE [--window X Y W H]
//                                           [--picture FILE.bmp X Y [--hidden]]...
//                                           [--demo-picture X Y [--hidden]]...
// X Y is the picture's top-left screen point, each within -32768..32767 (the range of the move
// message). Pictures are numbered 0, 1, 2... in command-line order; --hidden applies to the
// picture just before it. A bad command line, or a picture file that is not a BMP the board can
// read, ends the board with kBoardExitBadArguments and a message on stderr.
inline constexpr std::wstring_view kBoardArgLog = L"--log";
inline constexpr std::wstring_view kBoardArgPicture = L"--picture";
inline constexpr std::wstring_view kBoardArgDemoPicture = L"--demo-picture";
inline constexpr std::wstring_view kBoardArgHidden = L"--hidden";
// --window X Y W H: the window covers only that screen rectangle instead of the whole screen (less
// its last row), so that other windows stay in view even where the system raises the board when
// it is clicked.
inline constexpr std::wstring_view kBoardArgWindow = L"--window";

inline constexpr int kBoardExitBadArguments = 2;
// The log could not be created or the window not made.
inline constexpr int kBoardExitFailure = 1;

// The board's window: a WS_POPUP over the whole primary screen that stays at the bottom of the
// z-order, like the desktop, even while it is the active window.
inline constexpr wchar_t kBoardWindowClass[] = L"TarvikTargetBoard";
inline constexpr wchar_t kBoardWindowTitle[] = L"Target Board";
// Plain grey behind the pictures (0x00RRGGBB); MakeBoardPicture never yields this colour.
inline constexpr uint32_t kBoardBackgroundBgr0 = 0x00606060;

// Control messages (WM_APP + n; WM_APP is 0x8000). Send them with SendMessage: each returns once
// the board has repainted and logged.
inline constexpr unsigned kBoardMessageBase = 0x8000;
// wParam: picture index; lParam: 1 shows it, 0 hides it. Returns 1, or 0 for an unknown index.
inline constexpr unsigned kBoardMsgShowPicture = kBoardMessageBase + 1;
// wParam: picture index; lParam: MAKELPARAM(x, y), its new top-left screen point, each a signed
// 16-bit value. Returns 1, or 0 for an unknown index.
inline constexpr unsigned kBoardMsgMovePicture = kBoardMessageBase + 2;
// Returns the number of left-button presses logged so far.
inline constexpr unsigned kBoardMsgPressCount = kBoardMessageBase + 3;

// The log: UTF-8 text, one event per line ending in "\n", each line written whole the moment it
// happens. T is the board's GetTickCount64() then, which another process can compare with its
// own; X Y are screen points; I is a picture index; W is a decimal wParam.
//   start T        the log was opened (first line)
//   ready T        the window is shown and painted
//   down X Y T     the left button went down (WM_LBUTTONDOWN, or WM_LBUTTONDBLCLK if it came)
//   up X Y T       the left button went up
//   setting W T    WM_SETTINGCHANGE arrived (SPI_SETSCREENSAVETIMEOUT is 15)
//   show I T       picture I was shown by kBoardMsgShowPicture
//   hide I T       picture I was hidden by kBoardMsgShowPicture
//   move I X Y T   picture I was moved to X Y by kBoardMsgMovePicture
inline constexpr std::string_view kBoardLogStart = "start";
inline constexpr std::string_view kBoardLogReady = "ready";
inline constexpr std::string_view kBoardLogDown = "down";
inline constexpr std::string_view kBoardLogUp = "up";
inline constexpr std::string_view kBoardLogSetting = "setting";
inline constexpr std::string_view kBoardLogShow = "show";
inline constexpr std::string_view kBoardLogHide = "hide";
inline constexpr std::string_view kBoardLogMove = "move";
