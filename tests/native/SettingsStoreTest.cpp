#include <gtest/gtest.h>

#include "common/SaverError.h"
#include "generator/Random.h"
#include "settings/MemoryRegistry.h"
#include "generator/RunStart.h"
#include "settings/SaverSettings.h"

namespace {

const std::string Key = "software\\fractal rosacle";

std::vector<uint8_t> Dword(uint32_t v)
{
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { SaverSettings = TSaverSettings(); }

    void Store(const std::string& name, uint32_t v) { registry.keys[Key][name] = {RegDword, Dword(v)}; }
    void StoreText(const std::string& name, const std::string& text, uint32_t type = RegSz)
    {
        auto bytes = RegistryBytesFromText(text);
        bytes.push_back(0);
        bytes.push_back(0);
        registry.keys[Key][name] = {type, bytes};
    }
    // A complete key with the given core values.
    void StoreAll(uint32_t speed, uint32_t bright, uint32_t rosacle, uint32_t size)
    {
        Store("Speed", speed); Store("Bright", bright); Store("Rosacle", rosacle); Store("Size", size);
        Store("Segment", 6); Store("Background", 0); Store("Gray", 1); Store("Oval", 0);
        Store("Pictures", 0); Store("Rosacle_Random", 0); Store("Petals_Random", 0); Store("All_Monitors", 0);
        StoreText("Path_Wall", "D:\\Pictures");
    }
    uint32_t Stored(const std::string& name)
    {
        auto& v = registry.keys.at(Key).at(name);
        EXPECT_EQ(v.type, RegDword);
        EXPECT_EQ(v.data.size(), 4u);
        return v.data[0] | v.data[1] << 8 | v.data[2] << 16 | uint32_t(v.data[3]) << 24;
    }
    std::string Message(bool screenPreset = false, ScreenSize screen = {1024, 768})
    {
        try {
            LoadSaverSettings(registry, screenPreset, screen);
        } catch (const SaverError& e) {
            return e.what();
        }
        return "";
    }

    MemoryRegistry registry;
};

TEST_F(SettingsStore, FirstRunWritesDefaultsWithoutScreenPreset)
{
    LoadSaverSettings(registry, false, {1366, 768});
    const TSaverSettings& s = SaverSettings;
    EXPECT_EQ(s.Speed, 54);
    EXPECT_EQ(s.Bright, 0);
    EXPECT_EQ(s.Rosacle, 17);
    EXPECT_EQ(s.Size, 52);
    EXPECT_EQ(s.Segment, 8);
    EXPECT_TRUE(s.Background);
    EXPECT_TRUE(s.Rosacle_Random);
    EXPECT_FALSE(s.Gray || s.Oval || s.Pictures || s.Petals_Random);
    EXPECT_TRUE(s.All_Monitors);
    EXPECT_EQ(s.Path_Wall, "C:\\Windows");
    EXPECT_EQ(Stored("Speed"), 54u);
    EXPECT_EQ(Stored("Bright"), 0u);
    EXPECT_EQ(Stored("Rosacle_Random"), 1u);
    EXPECT_EQ(Stored("Petals_Random"), 0u);
    EXPECT_EQ(Stored("All_Monitors"), 1u);
    auto& path = registry.keys.at(Key).at("Path_Wall");
    EXPECT_EQ(path.type, RegSz);
    EXPECT_EQ(path.data.size(), 22u); // ten characters and the terminator, two bytes each
    EXPECT_EQ(registry.keys.at(Key).size(), 13u);
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(SettingsStore, FirstRunWithScreenPresetPicksBright)
{
    struct Case { ScreenSize screen; int bright; };
    for (Case c : {Case{{1366, 768}, 7}, Case{{1920, 1080}, 11}, Case{{1280, 720}, 0}, Case{{1280, 800}, 4},
                   Case{{1280, 1024}, 5}, Case{{800, 480}, 1}, Case{{1920, 1200}, 12}, Case{{1400, 1050}, 0}}) {
        registry = MemoryRegistry();
        SaverSettings = TSaverSettings();
        LoadSaverSettings(registry, true, c.screen);
        EXPECT_EQ(SaverSettings.Bright, c.bright) << c.screen.width << "x" << c.screen.height;
        EXPECT_EQ(Stored("Bright"), uint32_t(c.bright));
    }
}

TEST_F(SettingsStore, ZeroCoreValuesCountAsFirstRunButKeepPathWall)
{
    StoreAll(0, 0, 0, 0);
    LoadSaverSettings(registry, false, {});
    EXPECT_EQ(SaverSettings.Speed, 54);
    EXPECT_EQ(SaverSettings.Segment, 8);
    EXPECT_TRUE(SaverSettings.Background);
    EXPECT_FALSE(SaverSettings.Gray);
    EXPECT_EQ(SaverSettings.Path_Wall, "D:\\Pictures");
    EXPECT_EQ(Stored("Segment"), 8u);
    EXPECT_EQ(Stored("Gray"), 0u);
}

TEST_F(SettingsStore, SpeedZeroAloneIsNoFirstRun)
{
    StoreAll(0, 3, 9, 52);
    LoadSaverSettings(registry, false, {});
    EXPECT_EQ(SaverSettings.Speed, 0);
    EXPECT_EQ(SaverSettings.Rosacle, 9);
    EXPECT_EQ(SaverSettings.Segment, 6);
    EXPECT_TRUE(SaverSettings.Gray);
    EXPECT_EQ(Stored("Segment"), 6u);
}

TEST_F(SettingsStore, MissingValueStopsTheReadAtThatValue)
{
    StoreAll(60, 3, 9, 52);
    registry.keys[Key].erase("Speed");
    EXPECT_EQ(Message(), "Failed to get data for 'Speed'");
    EXPECT_EQ(SaverSettings.Bright, 0); // nothing after Speed was read
    EXPECT_EQ(registry.openKeys, 0);

    StoreAll(60, 3, 9, 52);
    registry.keys[Key].erase("Gray");
    SaverSettings = TSaverSettings();
    EXPECT_EQ(Message(), "Failed to get data for 'Gray'");
    EXPECT_EQ(SaverSettings.Segment, 6); // read before the failure
    EXPECT_FALSE(SaverSettings.Oval);

    // A key written before All_Monitors existed: it reads as on a first run, the rest as stored.
    StoreAll(60, 3, 9, 52);
    registry.keys[Key].erase("All_Monitors");
    SaverSettings = TSaverSettings();
    EXPECT_EQ(Message(), "");
    EXPECT_TRUE(SaverSettings.All_Monitors);
    EXPECT_EQ(SaverSettings.Speed, 60);
    EXPECT_EQ(SaverSettings.Path_Wall, "D:\\Pictures");
}

TEST_F(SettingsStore, AllMonitorsReadsAndSavesAsAFlag)
{
    StoreAll(60, 3, 9, 52);
    LoadSaverSettings(registry, false, {});
    EXPECT_FALSE(SaverSettings.All_Monitors);
    Store("All_Monitors", 5);
    LoadSaverSettings(registry, false, {});
    EXPECT_TRUE(SaverSettings.All_Monitors);
    StoreText("All_Monitors", "1");
    EXPECT_EQ(Message(), "Invalid data type for 'All_Monitors'");
    registry.keys[Key]["All_Monitors"] = {RegQword, {1, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_EQ(Message(), "Failed to get data for 'All_Monitors'");

    registry = MemoryRegistry();
    SaverSettings.All_Monitors = false;
    SaveSaverSettings(registry);
    EXPECT_EQ(Stored("All_Monitors"), 0u);
    SaverSettings.All_Monitors = true;
    SaveSaverSettings(registry);
    EXPECT_EQ(Stored("All_Monitors"), 1u);
}

TEST_F(SettingsStore, WrongTypesAndSizes)
{
    StoreAll(60, 3, 9, 52);
    StoreText("Speed", "54");
    EXPECT_EQ(Message(), "Invalid data type for 'Speed'");

    StoreText("Speed", "a text far longer than four");
    EXPECT_EQ(Message(), "Failed to get data for 'Speed'");

    StoreAll(60, 3, 9, 52);
    registry.keys[Key]["Rosacle"] = {RegBinary, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(Message(), "Failed to get data for 'Rosacle'");
    registry.keys[Key]["Rosacle"] = {RegBinary, {1, 2}};
    EXPECT_EQ(Message(), "Invalid data type for 'Rosacle'");
    registry.keys[Key]["Rosacle"] = {RegQword, {1, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_EQ(Message(), "Failed to get data for 'Rosacle'");

    StoreAll(60, 3, 9, 52);
    Store("Path_Wall", 5);
    EXPECT_EQ(Message(), "Invalid data type for 'Path_Wall'");
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(SettingsStore, FlagsAndText)
{
    StoreAll(60, 3, 9, 52);
    Store("Oval", 7);
    StoreText("Path_Wall", "E:\\Bilder\\Sommer", RegExpandSz);
    LoadSaverSettings(registry, false, {});
    EXPECT_TRUE(SaverSettings.Oval);
    EXPECT_EQ(SaverSettings.Path_Wall, "E:\\Bilder\\Sommer");

    registry.keys[Key].erase("Path_Wall");
    LoadSaverSettings(registry, false, {});
    EXPECT_EQ(SaverSettings.Path_Wall, ""); // missing text reads empty and stays so
    EXPECT_EQ(registry.keys[Key].count("Path_Wall"), 0u);
}

TEST_F(SettingsStore, OddTextDataReadsSafely)
{
    StoreAll(60, 3, 9, 52);
    std::vector<uint8_t> huge;
    for (int k = 0; k < 100000; ++k) { huge.push_back('x'); huge.push_back(0); }
    registry.keys[Key]["Path_Wall"] = {RegSz, huge}; // no terminator
    LoadSaverSettings(registry, false, {});
    EXPECT_EQ(SaverSettings.Path_Wall.size(), 100000u);

    registry.keys[Key]["Path_Wall"] = {RegSz, {'A', 0, 'B'}}; // odd byte count
    LoadSaverSettings(registry, false, {});
    EXPECT_EQ(SaverSettings.Path_Wall, "A");

    registry.keys[Key]["Path_Wall"] = {RegSz, {'A', 0, 0, 0, 'B', 0}};
    LoadSaverSettings(registry, false, {});
    EXPECT_EQ(SaverSettings.Path_Wall, "A"); // the text ends at its first zero
}

TEST_F(SettingsStore, TextKeepsCharactersOutsideAscii)
{
    const std::string name = "C:\\Users\\J\xC3\xB6rg\\\xE5\x86\x99\xE7\x9C\x9F\\\xF0\x9F\x8C\xB9";
    EXPECT_EQ(TextFromRegistryBytes(RegistryBytesFromText(name)), name);
    EXPECT_EQ(TextFromRegistryBytes(RegistryBytesFromText("\xC3")), "\xEF\xBF\xBD"); // broken UTF-8
}

TEST_F(SettingsStore, UnopenableKeyIsSkippedSilently)
{
    registry.refuseCreate = true;
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(SaverSettings.Speed, 54);
    EXPECT_TRUE(registry.keys.empty());
    SaveSaverSettings(registry); // no error either
    EXPECT_TRUE(registry.keys.empty());
}

TEST_F(SettingsStore, RefusedWriteReportsTheValue)
{
    registry.refuseWrites = true;
    EXPECT_EQ(Message(), "Failed to set data for 'Speed'");
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(SettingsStore, SaveWritesTwelveValuesWithoutPathWall)
{
    SaverSettings.Speed = 150;
    SaverSettings.Rosacle = 40;
    SaverSettings.Segment = 12;
    SaverSettings.Pictures = true;
    SaverSettings.Path_Wall = "X:\\";
    SaveSaverSettings(registry);
    EXPECT_EQ(registry.keys.at(Key).size(), 12u);
    EXPECT_EQ(Stored("Speed"), 150u);
    EXPECT_EQ(Stored("Rosacle"), 40u);
    EXPECT_EQ(Stored("Pictures"), 1u);
    EXPECT_EQ(registry.keys.at(Key).count("Path_Wall"), 0u);
}

TEST_F(SettingsStore, RandomPicksNeverGivePattern40OrTwelvePetals)
{
    Rosacle::RandSeed(12345);
    bool seen1 = false, seen39 = false, seen4 = false, seen11 = false;
    for (int k = 0; k < 20000; ++k) {
        SaverSettings.Rosacle_Random = true;
        SaverSettings.Petals_Random = true;
        Rosacle::PickRandomChoices();
        ASSERT_GE(SaverSettings.Rosacle, 1);
        ASSERT_LE(SaverSettings.Rosacle, 39);
        ASSERT_GE(SaverSettings.Segment, 4);
        ASSERT_LE(SaverSettings.Segment, 11);
        seen1 |= SaverSettings.Rosacle == 1;
        seen39 |= SaverSettings.Rosacle == 39;
        seen4 |= SaverSettings.Segment == 4;
        seen11 |= SaverSettings.Segment == 11;
    }
    EXPECT_TRUE(seen1 && seen39 && seen4 && seen11);

    SaverSettings.Rosacle_Random = false;
    SaverSettings.Petals_Random = false;
    SaverSettings.Rosacle = 40;
    SaverSettings.Segment = 12;
    Rosacle::PickRandomChoices();
    EXPECT_EQ(SaverSettings.Rosacle, 40);
    EXPECT_EQ(SaverSettings.Segment, 12);
}

TEST(RandomTest, SameSeedSameSequence)
{
    Rosacle::RandSeed(7);
    int32_t a[5];
    for (auto& v : a) v = Rosacle::Random(1000);
    Rosacle::RandSeed(7);
    for (auto v : a) EXPECT_EQ(Rosacle::Random(1000), v);
    // The sequence is fixed by the algorithm, the same on every target.
    Rosacle::RandSeed(0);
    EXPECT_EQ(Rosacle::Random(100), 0); // seed 1: 100 >> 32
    EXPECT_EQ(Rosacle::Random(100), 3); // seed 134775814
}

} // namespace
