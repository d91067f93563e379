// The wallpaper folder's registry rules: its own key beside the settings key, the fallbacks
// when the key or the value is missing, and a write only when the folder changed.
#include <gtest/gtest.h>

#include "common/SaverError.h"
#include "settings/MemoryRegistry.h"
#include "settings/SaverSettings.h"
#include "settings/WallpaperFolder.h"

namespace {

const std::string FolderKey = "software\\fractal_rosacle";
const std::string Settings = "software\\fractal rosacle";

class WallpaperFolder : public ::testing::Test {
protected:
    void SetUp() override { SaverSettings = TSaverSettings(); }

    void StoreFolder(const std::string& key, const std::string& text, uint32_t type = RegSz)
    {
        auto bytes = RegistryBytesFromText(text);
        bytes.push_back(0);
        bytes.push_back(0);
        registry.keys[key]["Path_Wall"] = {type, bytes};
    }
    std::string StoredFolder()
    {
        const RegistryValue& v = registry.keys.at(FolderKey).at("Path_Wall");
        EXPECT_EQ(v.type, RegSz);
        return TextFromRegistryBytes(v.data);
    }

    MemoryRegistry registry;
};

TEST_F(WallpaperFolder, ReadsItsOwnKeyOnly)
{
    StoreFolder(Settings, "D:\\From settings");
    StoreFolder(FolderKey, "D:\\Walls \xc3\xa9t\xc3\xa9");
    SaverSettings.Path_Wall = "D:\\From settings";
    LoadWallpaperFolder(registry);
    EXPECT_EQ(SaverSettings.Path_Wall, "D:\\Walls \xc3\xa9t\xc3\xa9");
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(WallpaperFolder, FallsBackToMemoryThenToTheDefault)
{
    // No key: the folder the settings dialog loaded stays.
    SaverSettings.Path_Wall = "D:\\From settings";
    LoadWallpaperFolder(registry);
    EXPECT_EQ(SaverSettings.Path_Wall, "D:\\From settings");
    EXPECT_TRUE(registry.keys.find(FolderKey) == registry.keys.end()); // reading makes no key

    // A key without the value reads as empty, which gives the default.
    registry.keys[FolderKey];
    LoadWallpaperFolder(registry);
    EXPECT_EQ(SaverSettings.Path_Wall, "C:\\Windows");

    SaverSettings.Path_Wall.clear();
    registry.keys.clear();
    LoadWallpaperFolder(registry);
    EXPECT_EQ(SaverSettings.Path_Wall, "C:\\Windows");
}

TEST_F(WallpaperFolder, WrongTypeIsAnErrorAndClosesTheKey)
{
    registry.keys[FolderKey]["Path_Wall"] = {RegDword, {1, 0, 0, 0}};
    try {
        LoadWallpaperFolder(registry);
        ADD_FAILURE();
    } catch (const SaverError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Path_Wall'");
    }
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(WallpaperFolder, WritesOnlyAChangedFolder)
{
    SaverSettings.Path_Wall = "D:\\Walls";
    StoreWallpaperFolder(registry, "D:\\Walls");
    EXPECT_TRUE(registry.keys.empty());

    // Case counts: the texts are compared exactly.
    StoreWallpaperFolder(registry, "D:\\walls");
    EXPECT_EQ(StoredFolder(), "D:\\walls");
    EXPECT_EQ(SaverSettings.Path_Wall, "D:\\walls");
    EXPECT_TRUE(registry.keys.find(Settings) == registry.keys.end());
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(WallpaperFolder, UnopenableKeyIsSilentRefusedWriteIsNot)
{
    SaverSettings.Path_Wall = "D:\\Walls";
    registry.refuseCreate = true;
    StoreWallpaperFolder(registry, "E:\\New");
    EXPECT_EQ(SaverSettings.Path_Wall, "E:\\New"); // kept in memory all the same
    EXPECT_TRUE(registry.keys.empty());

    registry.refuseCreate = false;
    registry.refuseWrites = true;
    try {
        StoreWallpaperFolder(registry, "F:\\Other");
        ADD_FAILURE();
    } catch (const SaverError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Path_Wall'");
    }
    EXPECT_EQ(SaverSettings.Path_Wall, "F:\\Other");
    EXPECT_EQ(registry.openKeys, 0);
}

} // namespace
