#include "settings/SaverSettings.h"

#include "generator/Random.h"

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
    WriteRegistryInteger(registry, "Speed", s.Speed);
    WriteRegistryInteger(registry, "Bright", s.Bright);
    WriteRegistryInteger(registry, "Rosacle", s.Rosacle);
    WriteRegistryInteger(registry, "Size", s.Size);
    WriteRegistryInteger(registry, "Segment", s.Segment);
    WriteRegistryFlag(registry, "Background", s.Background);
    WriteRegistryFlag(registry, "Gray", s.Gray);
    WriteRegistryFlag(registry, "Oval", s.Oval);
    WriteRegistryFlag(registry, "Pictures", s.Pictures);
    WriteRegistryFlag(registry, "Rosacle_Random", s.Rosacle_Random);
    WriteRegistryFlag(registry, "Petals_Random", s.Petals_Random);
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
        s.Speed = ReadRegistryInteger(registry, "Speed");
        s.Bright = ReadRegistryInteger(registry, "Bright");
        s.Rosacle = ReadRegistryInteger(registry, "Rosacle");
        s.Size = ReadRegistryInteger(registry, "Size");
        s.Segment = ReadRegistryInteger(registry, "Segment");
        s.Background = ReadRegistryFlag(registry, "Background");
        s.Gray = ReadRegistryFlag(registry, "Gray");
        s.Oval = ReadRegistryFlag(registry, "Oval");
        s.Pictures = ReadRegistryFlag(registry, "Pictures");
        s.Rosacle_Random = ReadRegistryFlag(registry, "Rosacle_Random");
        s.Petals_Random = ReadRegistryFlag(registry, "Petals_Random");
        s.Path_Wall = ReadRegistryText(registry, "Path_Wall");
        registry.CloseKey();
    }

    if (s.Speed != 0 || s.Bright != 0 || s.Rosacle != 0 || s.Size != 0) return;

    s.Speed = 54;
    s.Rosacle = 17;
    s.Size = 52;
    s.Segment = 8;
    s.Petals_Random = false;
    s.Rosacle_Random = true;
    s.Oval = false;
    s.Background = true;
    s.Gray = false;
    s.Pictures = false;
    if (screenPreset) s.Bright = ScreenPresetIndex(screen);
    if (s.Path_Wall.empty()) s.Path_Wall = "C:\\Windows";
    if (registry.OpenKey(RegistryPath(SettingsKey), true)) {
        WriteAllValues(registry, true);
        registry.CloseKey();
    }
}

void PickRandomChoices()
{
    if (SaverSettings.Rosacle_Random) SaverSettings.Rosacle = Rosacle::Random(39) + 1;
    if (SaverSettings.Petals_Random) SaverSettings.Segment = Rosacle::Random(8) + 4;
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
