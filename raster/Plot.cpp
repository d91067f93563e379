#include "raster/Plot.h"

#include <cstdint>
#include <cstring>

#include "generator/Workers.h"

namespace Rosacle {

void Rosette::Plot(DibSurface& surface)
{
    // The map holds pixels of a 24-bit surface of the laid size only.
    if (surface.Empty() || surface.Width() != SurfaceWidth || surface.Height() != SurfaceHeight ||
        surface.BitCount() != 24 || runs_.empty())
        return;
    const int64_t workers = WorkerCount();
    // Each point's colour as the bytes of a pixel (blue, green, red: the low byte of each
    // channel), so that a pixel takes one load.
    const size_t points = Red.Size();
    pixels_.resize(points);
    uint32_t* const colours = pixels_.data();
    const int32_t* const red = &Red.At(0);
    const int32_t* const green = &Green.At(0);
    const int32_t* const blue = &Blue.At(0);
    OnEveryWorker([&](int worker) {
        const size_t first = static_cast<size_t>(static_cast<int64_t>(points) * worker / workers);
        const size_t end = static_cast<size_t>(static_cast<int64_t>(points) * (worker + 1) / workers);
        for (size_t k = first; k < end; ++k)
            colours[k] = (static_cast<uint32_t>(blue[k]) & 0xFF) | (static_cast<uint32_t>(green[k]) & 0xFF) << 8 |
                         (static_cast<uint32_t>(red[k]) & 0xFF) << 16;
    });
    // Byte stores may alias anything: the tables are read through locals.
    const uint32_t* const runPoints = runPoints_.data();
    const PixelRun* const runs = runs_.data();
    // Each worker its own strips: every pixel is written once.
    const int64_t strips = static_cast<int64_t>(stripRunStart_.size()) - 1;
    OnEveryWorker([&](int worker) {
        const uint32_t firstRun = stripRunStart_[static_cast<size_t>(strips * worker / workers)];
        const uint32_t endRun = stripRunStart_[static_cast<size_t>(strips * (worker + 1) / workers)];
        for (uint32_t k = firstRun; k < endRun; ++k) {
            const PixelRun run = runs[k];
            const uint32_t* point = runPoints + run.first;
            uint8_t* p = surface.Row(run.y) + 3 * run.left;
            // Four bytes a pixel, the fourth overwritten by the next pixel of the run; the
            // last pixel three.
            for (int32_t x = run.left; x < run.end - 1; ++x, ++point, p += 3) std::memcpy(p, &colours[*point], 4);
            const uint32_t last = colours[*point];
            p[0] = static_cast<uint8_t>(last);
            p[1] = static_cast<uint8_t>(last >> 8);
            p[2] = static_cast<uint8_t>(last >> 16);
        }
    });
}

} // namespace Rosacle
