#pragma once
// Image files of a 24-bit surface: binary PPM, PNG and baseline JPEG. Every writer goes
// through a temporary file beside the target that replaces it only when complete, so a
// failure leaves neither a partial file nor a damaged older one. Failures are SaverError.
#include <cstdint>
#include <functional>
#include <string>

#include "raster/DibSurface.h"

enum class ImageFormat { Ppm, Png, Jpeg };

// The format a file name asks for by its extension (.ppm, .png, .jpg, .jpeg, any case);
// false for any other name.
bool ImageFormatOf(const std::string& path, ImageFormat& format);

// Whether this build can write the format (no PNG in the Windows build).
bool ImageFormatAvailable(ImageFormat format);

// Writes the surface in the format its name asks for.
void WriteImageFile(const DibSurface& surface, const std::string& path);

// Fills one row (0 = top) of width x 3 bytes, red, green, blue.
using RgbRowSource = std::function<void(int32_t y, uint8_t* rgb)>;

// One row of `width` pixels in the surface's blue, green, red order as red, green, blue.
void RgbFromBgr(const uint8_t* bgr, uint8_t* rgb, int32_t width);

// JPEG with the wallpaper settings: library defaults, quality 90 with baseline tables,
// three-component RGB input, sequential.
void WriteJpegFile(const std::string& path, int32_t width, int32_t height, const RgbRowSource& rows);
void WritePngFile(const std::string& path, int32_t width, int32_t height, const RgbRowSource& rows);
void WritePpmFile(const std::string& path, int32_t width, int32_t height, const RgbRowSource& rows);
