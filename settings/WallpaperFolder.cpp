#include "settings/WallpaperFolder.h"

#include "settings/SaverSettings.h"

const char* const DefaultWallpaperFolder = "C:\\Windows";

void LoadWallpaperFolder(RegistryStore& registry)
{
    {
        OpenKeyGuard guard(registry);
        if (registry.OpenKey(RegistryPath(WallpaperFolderKey), false))
            SaverSettings.Path_Wall = ReadRegistryText(registry, "Path_Wall");
    }
    if (SaverSettings.Path_Wall.empty()) SaverSettings.Path_Wall = DefaultWallpaperFolder;
}

void StoreWallpaperFolder(RegistryStore& registry, const std::string& folder)
{
    if (folder == SaverSettings.Path_Wall) return;
    SaverSettings.Path_Wall = folder;
    OpenKeyGuard guard(registry);
    if (registry.OpenKey(RegistryPath(WallpaperFolderKey), true))
        WriteRegistryText(registry, "Path_Wall", folder);
}
