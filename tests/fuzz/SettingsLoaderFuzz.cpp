// The settings loader over an in-memory registry whose thirteen values (and the key itself)
// are arbitrary: any type, any size, any bytes. The loader either succeeds with a record
// that saves and loads back unchanged, or fails with one of its messages naming the value.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/SaverError.h"
#include "settings/MemoryRegistry.h"
#include "generator/RunStart.h"
#include "settings/SaverSettings.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

const char* const Names[] = {"Speed",    "Bright", "Rosacle",  "Size",           "Segment",       "Background",
                             "Gray",     "Oval",   "Pictures", "Rosacle_Random", "Petals_Random", "All_Monitors",
                             "Path_Wall"};

bool Same(const TSaverSettings& a, const TSaverSettings& b)
{
    return a.Speed == b.Speed && a.Bright == b.Bright && a.Rosacle == b.Rosacle && a.Size == b.Size &&
           a.Segment == b.Segment && a.Background == b.Background && a.Gray == b.Gray && a.Oval == b.Oval &&
           a.Pictures == b.Pictures && a.Rosacle_Random == b.Rosacle_Random && a.Petals_Random == b.Petals_Random &&
           a.All_Monitors == b.All_Monitors;
}

bool KnownMessage(const std::string& text)
{
    for (const char* name : Names) {
        for (const char* form : {"Failed to get data for '", "Invalid data type for '"})
            if (text == std::string(form) + name + "'") return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const uint8_t control = in.Take<uint8_t>();
    ScreenSize screen{in.Take<int32_t>(), in.Take<int32_t>()};

    MemoryRegistry registry;
    const std::string key = RegistryPath(SettingsKey);
    if (!(control & 1)) {
        MemoryRegistry::Key& values = registry.keys[key.substr(0, key.size() - 1)];
        for (const char* name : Names) {
            const uint8_t shape = in.Take<uint8_t>();
            if (shape & 0x80) continue; // missing
            RegistryValue value;
            // Mostly the types the loader meets, sometimes any number at all.
            const uint32_t types[] = {RegDword, RegSz, RegBinary, RegQword, RegExpandSz, RegMultiSz, RegNone};
            value.type = (shape & 0x40) ? in.Take<uint32_t>() : types[((shape >> 3) & 7) % 7];
            value.data = in.Bytes(shape & 7 ? shape & 7 : in.Take<uint8_t>());
            values[name] = value;
        }
    }
    registry.refuseCreate = control & 2;
    registry.refuseWrites = control & 4;

    SaverSettings = TSaverSettings();
    bool loaded = false;
    try {
        LoadSaverSettings(registry, control & 8, screen);
        loaded = true;
    } catch (const SaverError& e) {
        const std::string text = e.what();
        FuzzCheck(KnownMessage(text) || text.rfind("Failed to set data for '", 0) == 0, "an unknown message");
    }
    FuzzCheck(registry.openKeys == 0, "a key left open");
    if (!loaded) return 0;

    // What was loaded saves and loads back as the same record.
    const TSaverSettings first = SaverSettings;
    MemoryRegistry copy;
    SaveSaverSettings(copy);
    SaverSettings = TSaverSettings();
    LoadSaverSettings(copy, false, screen);
    FuzzCheck(Same(first, SaverSettings), "the saved record loads back different");

    // The folder text survives a write and a read: what the loader makes of any bytes is text
    // that the registry's own form holds unchanged.
    FuzzCheck(TextFromRegistryBytes(RegistryBytesFromText(first.Path_Wall)) == first.Path_Wall, "Path_Wall changes");

    // The owners' range step and the random picks keep the layout's limits.
    Rosacle::PickRandomChoices();
    ClampLayoutSettings();
    FuzzCheck(SaverSettings.Segment >= 4 && SaverSettings.Segment <= 12, "Segment out of range");
    FuzzCheck(SaverSettings.Rosacle >= 1 && SaverSettings.Rosacle <= 40, "Rosacle out of range");
    return 0;
}
