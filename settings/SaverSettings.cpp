#include "settings/SaverSettings.h"

TSaverSettings SaverSettings;

const char* const SettingsKey = "\\Software\\Fractal Rosacle\\";
const char* const WallpaperFolderKey = "\\Software\\Fractal_Rosacle\\";

namespace {

struct Preset {
    int32_t width;
    int32_t height; // 0: the height is not tested
    ScreenSize size;
};

// The twelve wallpaper sizes, in the order the screen test tries them.
const Preset Presets[12] = {
    {800, 0, {800, 600}},     {1024, 0, {1024, 768}},   {1152, 0, {1152, 864}},
    {1280, 800, {1280, 800}}, {1280, 1024, {1280, 1024}}, {1360, 0, {1360, 768}},
    {1366, 0, {1366, 768}},   {1440, 0, {1440, 900}},   {1600, 0, {1600, 900}},
    {1680, 0, {1680, 1050}},  {1920, 1080, {1920, 1080}}, {1920, 1200, {1920, 1200}},
};

void WriteAllValues(RegistryStore& registry, bool withPathWall)
{
    const TSaverSettings& s = SaverSettings;
    for (const SettingKnob& k : SettingKnobs) {
        if (k.integer) WriteRegistryInteger(registry, k.name, s.*k.integer);
        else WriteRegistryFlag(registry, k.name, s.*k.flag);
    }
    if (withPathWall) WriteRegistryText(registry, "Path_Wall", s.Path_Wall);
}

} // namespace

int32_t ScreenPresetIndex(ScreenSize screen)
{
    for (int k = 0; k < 12; ++k) {
        if (screen.width == Presets[k].width && (Presets[k].height == 0 || screen.height == Presets[k].height))
            return k + 1;
    }
    return 0;
}

ScreenSize WallpaperPresetSize(int32_t index)
{
    if (index < 1) index = 1;
    if (index > 12) index = 12;
    return Presets[index - 1].size;
}

void LoadSaverSettings(RegistryStore& registry, bool screenPreset, ScreenSize screen)
{
    OpenKeyGuard guard(registry);
    TSaverSettings& s = SaverSettings;
    if (registry.OpenKey(RegistryPath(SettingsKey), false)) {
        // Each field takes its value as soon as it is read: a failure part-way keeps the
        // fields read before it.
        for (const SettingKnob& k : SettingKnobs) {
            RegistryValue stored;
            if (k.addedLater && !registry.QueryValue(k.name, stored)) {
                k.Set(s, k.firstRun);
                continue;
            }
            if (k.integer) s.*k.integer = ReadRegistryInteger(registry, k.name);
            else s.*k.flag = ReadRegistryFlag(registry, k.name);
        }
        s.Path_Wall = ReadRegistryText(registry, "Path_Wall");
        registry.CloseKey();
    }

    if (s.Speed != 0 || s.Bright != 0 || s.Rosacle != 0 || s.Size != 0) return;

    SetFirstRunSettings(s);
    if (screenPreset) s.Bright = ScreenPresetIndex(screen);
    if (s.Path_Wall.empty()) s.Path_Wall = "C:\\Windows";
    if (registry.OpenKey(RegistryPath(SettingsKey), true)) {
        WriteAllValues(registry, true);
        registry.CloseKey();
    }
}

void SetFirstRunSettings(TSaverSettings& s)
{
    for (const SettingKnob& k : SettingKnobs) k.Set(s, k.firstRun);
}

void SetPreviewSettings(TSaverSettings& s)
{
    for (const SettingKnob& k : SettingKnobs) k.Set(s, k.preview);
}

void SaveSaverSettings(RegistryStore& registry)
{
    OpenKeyGuard guard(registry);
    if (!registry.OpenKey(RegistryPath(SettingsKey), true)) return;
    WriteAllValues(registry, false);
    registry.CloseKey();
}

void ClampLayoutSettings()
{
    TSaverSettings& s = SaverSettings;
    if (s.Segment < 4) s.Segment = 4;
    if (s.Segment > 12) s.Segment = 12;
    if (s.Rosacle < 1) s.Rosacle = 1;
    if (s.Rosacle > 40) s.Rosacle = 40;
}
