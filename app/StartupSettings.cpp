// Reading the start-up settings and writing the main window's place.
#include "app/StartupSettings.h"

CStartupSettings ReadStartupSettings(const CRegistryKey& key) {
    CStartupSettings settings{};
    settings.nMainTop = key.ReadInt(kMainTopValue, kMissingWindowValue);
    settings.nMainLeft = key.ReadInt(kMainLeftValue, kMissingWindowValue);
    settings.nMainHeight = key.ReadInt(kMainHeightValue, kMissingWindowValue);
    settings.nStartupViewMode = key.ReadInt(kStartupViewModeValue, kMissingWindowValue);
    settings.nAutoPlay = key.ReadInt(kAutoPlayValue, 0);
    settings.nMetroMode = key.ReadInt(kMetroModeValue, 0);
    return settings;
}

// The width is not stored: the panel is always 130 pixels wide.
void WritePanelPlace(const CRegistryKey& key, int nLeft, int nTop, [[maybe_unused]] int nRight,
                     int nBottom) {
    key.WriteInt(kMainTopValue, nTop);
    key.WriteInt(kMainLeftValue, nLeft);
    key.WriteInt(kMainHeightValue, nBottom - nTop);
}
