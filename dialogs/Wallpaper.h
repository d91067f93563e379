#pragma once
// The wallpaper export's picture work: one frame of the rosette at the wallpaper size on a
// clean background, copied into a screen-compatible bitmap, and that bitmap as a JPEG file.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Bitmap.h"
#include "raster/TDIB.h"

// Lays the generator out at width x height, resizes `surface` to it, clears it with
// `fillBackground`, runs one frame, plots it and copies the surface into `wall`, which takes
// the same size. The generator and the surface keep that size afterwards. A size beyond
// 1920 x 1200 is a SaverError that changes nothing.
void RenderWallpaper(TDIB& surface, TBitmap& wall, int32_t width, int32_t height,
                     const std::function<void()>& fillBackground);

// Writes `wall` as a baseline JPEG of quality 90 to `fileName` (relative names against the
// current directory), through a temporary file beside it: an existing file is replaced only
// by a complete picture. A file that cannot be made gives "Cannot create file <fileName>".
void WriteWallpaperJpeg(TBitmap& wall, const std::wstring& fileName);
