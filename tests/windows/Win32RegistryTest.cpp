// The registry accessor and the settings rules against the real (Wine's) registry, under a
// scratch key and under the settings key itself.
#include <gtest/gtest.h>

#include "common/SaverError.h"
#include "settings/SaverSettings.h"
#include "settings/Win32Registry.h"

namespace {

const wchar_t* const SettingsPath = L"Software\\Fractal Rosacle";

void DeleteSettingsKey() { RegDeleteTreeW(HKEY_CURRENT_USER, SettingsPath); }

DWORD RawValue(const wchar_t* name, DWORD& type, std::vector<BYTE>& data)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
    DWORD size = 0;
    RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    data.assign(size, 0);
    LONG status = RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    return status;
}

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        SaverSettings = TSaverSettings();
    }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(RealRegistry, FirstRunWritesDwordsOfFourBytesAndTerminatedText)
{
    LoadSaverSettings(false);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(RawValue(L"Speed", type, data), 0u);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(data[0], 54);
    ASSERT_EQ(RawValue(L"Path_Wall", type, data), 0u);
    EXPECT_EQ(type, DWORD(REG_SZ));
    ASSERT_EQ(data.size(), 22u);
    EXPECT_EQ(data[20], 0);
    EXPECT_EQ(data[21], 0);

    TSaverSettings first = SaverSettings;
    SaverSettings = TSaverSettings();
    LoadSaverSettings(false);
    EXPECT_EQ(SaverSettings.Speed, first.Speed);
    EXPECT_EQ(SaverSettings.Segment, first.Segment);
    EXPECT_EQ(SaverSettings.Background, first.Background);
    EXPECT_EQ(SaverSettings.Path_Wall, "C:\\Windows");
}

TEST_F(RealRegistry, SaveThenLoadGivesTheSameRecord)
{
    LoadSaverSettings(false);
    SaverSettings.Speed = 0;
    SaverSettings.Rosacle = 33;
    SaverSettings.Segment = 11;
    SaverSettings.Gray = true;
    SaverSettings.Rosacle_Random = false;
    TSaverSettings saved = SaverSettings;
    SaveSaverSettings();
    SaverSettings = TSaverSettings();
    LoadSaverSettings(false);
    EXPECT_EQ(SaverSettings.Speed, 0);
    EXPECT_EQ(SaverSettings.Rosacle, saved.Rosacle);
    EXPECT_EQ(SaverSettings.Segment, saved.Segment);
    EXPECT_TRUE(SaverSettings.Gray);
    EXPECT_FALSE(SaverSettings.Rosacle_Random);
}

TEST_F(RealRegistry, WrongTypeGivesItsMessage)
{
    LoadSaverSettings(false);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, SettingsPath, 0, KEY_ALL_ACCESS, &key), 0);
    RegSetValueExW(key, L"Speed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"54"), 6);
    RegCloseKey(key);
    try {
        LoadSaverSettings(false);
        FAIL() << "no error";
    } catch (const SaverError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Speed'");
    }
}

TEST_F(RealRegistry, UnicodeFolderNamesSurvive)
{
    Win32Registry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Fractal Rosacle\\", true));
    const std::string folder = "C:\\Bilder\\J\xC3\xB6rg \xE5\x86\x99\xE7\x9C\x9F";
    WriteRegistryText(registry, "Path_Wall", folder);
    EXPECT_EQ(ReadRegistryText(registry, "Path_Wall"), folder);
    registry.CloseKey();
}

TEST_F(RealRegistry, LongTextWithoutTerminatorReadsSafely)
{
    Win32Registry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Fractal Rosacle\\", true));
    std::vector<uint8_t> huge;
    for (int k = 0; k < 100000; ++k) { huge.push_back('y'); huge.push_back(0); }
    ASSERT_TRUE(registry.SetValue("Path_Wall", RegSz, huge));
    EXPECT_EQ(ReadRegistryText(registry, "Path_Wall").size(), 100000u);
}

} // namespace
