#pragma once
// The process-wide settings record, its registry keys and the rules that load, pick and
// save it.
#include <cstdint>
#include <string>

#include "settings/RegistryStore.h"

struct TSaverSettings {
    int32_t Speed = 0;
    int32_t Bright = 0;   // wallpaper size preset index
    int32_t Rosacle = 0;  // pattern number
    int32_t Size = 0;     // stored and written back only
    int32_t Segment = 0;  // petal count
    bool Background = false;
    bool Gray = false;
    bool Oval = false;    // colour inversion
    bool Pictures = false;
    bool Rosacle_Random = false;
    bool Petals_Random = false;
    std::string Path_Wall; // UTF-8
};

extern TSaverSettings SaverSettings;

extern const char* const SettingsKey;        // "\Software\Fractal Rosacle\"
extern const char* const WallpaperFolderKey; // "\Software\Fractal_Rosacle\"

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Fills SaverSettings from SettingsKey; on a first run (Speed, Bright, Rosacle and Size all 0)
// sets the defaults and writes all twelve values. With screenPreset, a first run also picks
// Bright from the screen size. Registry errors propagate as SaverError.
void LoadSaverSettings(RegistryStore& registry, bool screenPreset, ScreenSize screen);

// The start-time random picks of pattern (1..39) and petal count (4..11).
void PickRandomChoices();

// Writes the first eleven fields (all but Path_Wall) to SettingsKey.
void SaveSaverSettings(RegistryStore& registry);

// The wallpaper size preset that a screen matches, 0 when none (1..12 otherwise).
int32_t ScreenPresetIndex(ScreenSize screen);

// The Bright presets as wallpaper sizes: index 1..12.
ScreenSize WallpaperPresetSize(int32_t index);

// Brings the values that index the generator's planes into the ranges the generator is
// built for: Segment 4..12 and Rosacle 1..40.
void ClampLayoutSettings();
