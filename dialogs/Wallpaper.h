#pragma once
// The wallpaper export's picture work: one frame of the rosette at the wallpaper size on a
// clean background, copied into a screen-compatible bitmap, and that bitmap as a JPEG file.
#include <cstdint>
#include <string>

#include "generator/Rosacle.h"
#include "platform/Bitmap.h"

// Renders the next frame of `from` at width x height with a rosette of its own: laid at that
// size, starting from the phases, rates and working values of `from`, on a surface of the
// settings' background; copies it into `wall`, which takes the same size. `from` is left as
// it is. A size beyond 1920 x 1200 is a SaverError that changes nothing.
void RenderWallpaper(const Rosacle::Rosette& from, TBitmap& wall, int32_t width, int32_t height);

// Writes `wall` as a baseline JPEG of quality 90 to `fileName` (relative names against the
// current directory), through a temporary file beside it: an existing file is replaced only
// by a complete picture. A file that cannot be made gives "Cannot create file <fileName>".
void WriteWallpaperJpeg(TBitmap& wall, const std::wstring& fileName);
