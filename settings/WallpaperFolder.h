#pragma once
// The folder offered for saved wallpapers: Path_Wall under WallpaperFolderKey, a key of its
// own beside SettingsKey. Only the Save Wallpaper dialog reads and writes it.
#include <string>

#include "settings/RegistryStore.h"

extern const char* const DefaultWallpaperFolder; // "C:\Windows"

// Path_Wall from WallpaperFolderKey when that key exists (a missing value reads as empty);
// without the key the one in memory stays. An empty folder becomes DefaultWallpaperFolder.
void LoadWallpaperFolder(RegistryStore& registry);

// Makes `folder` (UTF-8) the wallpaper folder when it differs from Path_Wall (exact text),
// and writes it under WallpaperFolderKey, creating the key. A key that cannot be opened is
// skipped silently; a refused write is a SaverError. Path_Wall keeps the folder either way.
void StoreWallpaperFolder(RegistryStore& registry, const std::string& folder);
