// The main window's start-up settings: their value names, defaults, reading and the panel place.
#pragma once

#include "app/RegistryKey.h"

// Value names under the settings key, all REG_DWORD. "MainHaight" is spelt as earlier versions
// stored it; renaming it would lose every user's saved height.
inline constexpr wchar_t kMainTopValue[] = L"MainTop";
inline constexpr wchar_t kMainLeftValue[] = L"MainLeft";
inline constexpr wchar_t kMainHeightValue[] = L"MainHaight";
inline constexpr wchar_t kStartupViewModeValue[] = L"StartupViewMode";
inline constexpr wchar_t kAutoPlayValue[] = L"AutoPlay";
inline constexpr wchar_t kMetroModeValue[] = L"Windows8MetroMode";

// What a missing or unreadable window value (and start-up view mode) reads as.
inline constexpr int kMissingWindowValue = -5000;

// The values the main window applies when it is set up, as stored (not yet validated).
struct CStartupSettings {
    int nMainTop;
    int nMainLeft;
    int nMainHeight;
    int nStartupViewMode;
    int nAutoPlay;
    int nMetroMode;
};

// Reads MainTop, MainLeft, MainHaight, StartupViewMode (default kMissingWindowValue), AutoPlay
// and Windows8MetroMode (default 0), in that order.
CStartupSettings ReadStartupSettings(const CRegistryKey& key);

// Stores the main window's rectangle as MainTop, MainLeft and MainHaight (bottom - top), in that
// order; a value whose key cannot be opened is skipped and the others are still written.
void WritePanelPlace(const CRegistryKey& key, int nLeft, int nTop, int nRight, int nBottom);
