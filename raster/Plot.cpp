#include "raster/Plot.h"

#include <cstdint>

#include "generator/Workers.h"

namespace Rosacle {

void Rosette::Plot(DibSurface& surface) const
{
    // The map holds byte places of a 24-bit surface of the laid size only.
    if (surface.Empty() || surface.Width() != SurfaceWidth || surface.Height() != SurfaceHeight ||
        surface.BitCount() != 24 || box_.right <= box_.left)
        return;
    const int32_t mapWidth = mapBox_.right - mapBox_.left;
    const int32_t top = box_.top, rows = box_.bottom - box_.top;
    const int64_t bands = WorkerCount();
    const int32_t* red = &Red.At(0);
    const int32_t* green = &Green.At(0);
    const int32_t* blue = &Blue.At(0);
    // Each worker its own band of rows: every pixel is written once.
    OnEveryWorker([&](int band) {
        const int32_t first = top + static_cast<int32_t>(rows * band / bands);
        const int32_t end = top + static_cast<int32_t>(rows * (band + 1) / bands);
        for (int32_t y = first; y < end; ++y) {
            const uint32_t* line = map_.data() + static_cast<size_t>(y - mapBox_.top) * static_cast<size_t>(mapWidth) +
                                   (box_.left - mapBox_.left);
            uint8_t* p = surface.Row(y) + 3 * box_.left;
            for (int32_t x = box_.left; x < box_.right; ++x, ++line, p += 3) {
                const uint32_t k = *line;
                if (k == NoPoint) continue;
                // The low byte of each channel, blue first.
                p[0] = static_cast<uint8_t>(blue[k]);
                p[1] = static_cast<uint8_t>(green[k]);
                p[2] = static_cast<uint8_t>(red[k]);
            }
        }
    });
}

} // namespace Rosacle
