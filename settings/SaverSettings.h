#pragma once
// The process-wide settings record, its registry keys and the rules that load, pick and
// save it.
#include <cstdint>
#include <climits>
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
    bool All_Monitors = false; // a rosette on every monitor, not black covers
    std::string Path_Wall; // UTF-8
};

extern TSaverSettings SaverSettings;

// Every setting once, in the registry's order: its value name, the range the settings
// dialog, the rosacle tool and the X11 hack offer, its first-run value and the value the
// control-panel preview runs with. A flag is an integer 0..1 here.
struct SettingKnob {
    const char* name;
    int32_t TSaverSettings::*integer; // null for a flag
    bool TSaverSettings::*flag;       // null for an integer
    int32_t low, high;
    int32_t firstRun, preview;
    // A value newer versions added: a key an older version wrote lacks it, and reads it as its
    // first-run value (a wrong kind of value is still refused like any other).
    bool addedLater = false;

    int32_t Get(const TSaverSettings& s) const { return integer ? s.*integer : int32_t(s.*flag); }
    void Set(TSaverSettings& s, int32_t value) const
    {
        if (integer) s.*integer = value;
        else s.*flag = value != 0;
    }
};

inline constexpr SettingKnob SettingKnobs[] = {
    {"Speed", &TSaverSettings::Speed, nullptr, 0, 150, 54, 50},
    {"Bright", &TSaverSettings::Bright, nullptr, 1, 12, 0, 0}, // a first run may take the screen's preset
    {"Rosacle", &TSaverSettings::Rosacle, nullptr, 1, 40, 17, 17},
    {"Size", &TSaverSettings::Size, nullptr, INT32_MIN, INT32_MAX, 52, 52},
    {"Segment", &TSaverSettings::Segment, nullptr, 4, 12, 8, 8},
    {"Background", nullptr, &TSaverSettings::Background, 0, 1, 1, 1},
    {"Gray", nullptr, &TSaverSettings::Gray, 0, 1, 0, 0},
    {"Oval", nullptr, &TSaverSettings::Oval, 0, 1, 0, 0},
    {"Pictures", nullptr, &TSaverSettings::Pictures, 0, 1, 0, 0},
    {"Rosacle_Random", nullptr, &TSaverSettings::Rosacle_Random, 0, 1, 1, 1},
    {"Petals_Random", nullptr, &TSaverSettings::Petals_Random, 0, 1, 0, 0},
    {"All_Monitors", nullptr, &TSaverSettings::All_Monitors, 0, 1, 1, 1, true},
};

constexpr const SettingKnob& KnobOf(int32_t TSaverSettings::*field)
{
    for (const SettingKnob& k : SettingKnobs)
        if (k.integer == field) return k;
    return SettingKnobs[0];
}
constexpr const SettingKnob& KnobOf(bool TSaverSettings::*field)
{
    for (const SettingKnob& k : SettingKnobs)
        if (k.flag == field) return k;
    return SettingKnobs[0];
}

// Every setting in the table at its first-run value, or at the preview's.
void SetFirstRunSettings(TSaverSettings& s);
void SetPreviewSettings(TSaverSettings& s);

extern const char* const SettingsKey;        // "\Software\Fractal Rosacle\"
extern const char* const WallpaperFolderKey; // "\Software\Fractal_Rosacle\"

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Fills SaverSettings from SettingsKey; on a first run (Speed, Bright, Rosacle and Size all 0)
// sets the defaults and writes all the values. With screenPreset, a first run also picks
// Bright from the screen size. Registry errors propagate as SaverError.
void LoadSaverSettings(RegistryStore& registry, bool screenPreset, ScreenSize screen);

// Writes every field but Path_Wall to SettingsKey.
void SaveSaverSettings(RegistryStore& registry);

// The wallpaper size preset that a screen matches, 0 when none (1..12 otherwise).
int32_t ScreenPresetIndex(ScreenSize screen);

// The Bright presets as wallpaper sizes: index 1..12.
ScreenSize WallpaperPresetSize(int32_t index);

// Brings the values that index the generator's planes into the ranges the generator is
// built for: Segment 4..12 and Rosacle 1..40.
void ClampLayoutSettings();
